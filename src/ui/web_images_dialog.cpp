#include "ui/web_images_dialog.h"

#include <optional>

#include "files/current_dir_guard.h"
#include "framework/data_exchange.h"
#include "framework/window_host.h"
#include "ui/dialog_templates.h"
#include "ui/resource_ids.h"
#include "ui/template_picker.h"

namespace vistello {

namespace {

std::string RangeText(const char* field, int low, int high, bool mayBeEmpty) {
    std::string text = std::string(field) + ": please enter an integer between " +
                       std::to_string(low) + " and " + std::to_string(high);
    return text + (mayBeEmpty ? ", or leave it empty." : ".");
}

}  // namespace

CWebImagesDialog::CWebImagesDialog(const WebSettings& settings)
    : CDialog(WebImagesDialogTemplate()), m_settings(settings) {
    MapCommand(ids::kWebBrowseOverview, [this] { OnBrowseOverview(); });
}

void CWebImagesDialog::DoDataExchange(CDataExchange& dx) {
    ExchangeSide(dx, ids::kWebLargestSide, "Largest side (pixels)", m_settings.largestSide);
    std::string quality = std::to_string(m_settings.quality);
    DDX_Text(dx, ids::kWebQuality, quality);
    if (dx.Saving() && !dx.Failed() &&
        !ParseNumberIn(quality, kMinWebQuality, kMaxWebQuality, m_settings.quality)) {
        dx.Fail();
        dx.Dialog().AfxMessageBox(RangeText("Quality", kMinWebQuality, kMaxWebQuality, false));
    }
    ExchangeSide(dx, ids::kWebThumbnailSide, "Thumbnail side (pixels)", m_settings.thumbnailSide);
    DDX_Check(dx, ids::kWebKeepDetails, m_settings.keepDetails);
    DDX_Check(dx, ids::kWebAvif, m_settings.avif);
    DDX_Text(dx, ids::kWebOverview, m_settings.overviewTemplate);
    DDX_Text(dx, ids::kWebSiteTitle, m_settings.siteTitle);
}

// A side shows empty while unset, and an empty field unsets it.
void CWebImagesDialog::ExchangeSide(CDataExchange& dx, int id, const char* field, int& side) {
    std::string text = side > 0 ? std::to_string(side) : std::string();
    DDX_Text(dx, id, text);
    if (!dx.Saving() || dx.Failed()) return;
    if (text.empty()) {
        side = 0;
    } else if (!ParseNumberIn(text, kMinImageSide, kMaxImageSide, side)) {
        dx.Fail();
        dx.Dialog().AfxMessageBox(RangeText(field, kMinImageSide, kMaxImageSide, true));
    }
}

// The typed values stay as typed while the picker is open.
void CWebImagesDialog::OnBrowseOverview() {
    std::optional<std::string> chosen;
    {
        CurrentDirGuard keepDirectory;
        chosen = Host().PickOpenFile(TemplatePicker());
    }
    if (chosen) Host().SetText(ids::kWebOverview, *chosen);
}

}  // namespace vistello
