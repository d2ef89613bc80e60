#pragma once

#include <string>

#include "framework/dialog.h"
#include "show/web_settings.h"

namespace vistello {

// Edits how the show is made ready for the web. OK takes the fields in only when every number is
// in its range; a field that is not says so and keeps the dialog open.
class CWebImagesDialog : public CDialog {
public:
    explicit CWebImagesDialog(const WebSettings& settings);

    WebSettings Settings() const { return m_settings; }

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnBrowseOverview();
    void ExchangeSide(CDataExchange& dx, int id, const char* field, int& side);

    WebSettings m_settings;
};

}  // namespace vistello
