#pragma once

#include <string>

#include "framework/dialog.h"

namespace vistello {

// Entry > Make Album Private...: the album's password, typed twice, and whether the overview
// above the album names it. An empty password, or a second one that differs, is refused with why
// and the dialog stays open to be corrected.
class CPrivateAlbumDialog : public CDialog {
public:
    // The prompt says which album, and what the password is for.
    explicit CPrivateAlbumDialog(std::string prompt);

    bool OnInitDialog() override;

    std::string m_password;
    std::string m_again;
    bool m_showTitle = false;

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    std::string m_prompt;
};

}  // namespace vistello
