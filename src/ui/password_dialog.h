#pragma once

#include <string>

#include "framework/dialog.h"

namespace vistello {

// Asks for the password of a server, or for an S3 access key, and whether the keyring is to keep
// it. The prompt says who asks and why.
class CPasswordDialog : public CDialog {
public:
    CPasswordDialog(std::string prompt, bool withAccessKey);

    bool OnInitDialog() override;

    std::string m_accessKey;
    std::string m_secret;
    bool m_remember = true;

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    std::string m_prompt;
    bool m_withAccessKey;
};

}  // namespace vistello
