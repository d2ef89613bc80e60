#include "ui/preferences_dialog.h"

#include "framework/data_exchange.h"
#include "framework/window_host.h"
#include "framework/window_system.h"
#include "ui/dialog_templates.h"
#include "ui/resource_ids.h"

namespace vistello {

// The check box switches the tips of every window as it is clicked, this dialog's included, so
// the user sees at once what the switch does.
CPreferencesDialog::CPreferencesDialog() : CDialog(PreferencesDialogTemplate()) {
    MapCommand(ids::kPrefToolTips,
               [this] { System().EnableToolTips(Host().GetCheck(ids::kPrefToolTips)); });
}

void CPreferencesDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Check(dx, ids::kPrefToolTips, m_bToolTips);
    DDX_Text(dx, ids::kAlt, m_tags.alt);
    DDX_Text(dx, ids::kBorder, m_tags.border);
    DDX_Text(dx, ids::kDescription, m_tags.description);
    DDX_Text(dx, ids::kHeight, m_tags.height);
    DDX_Text(dx, ids::kPrefImagePath, m_tags.imagePath);
    DDX_Text(dx, ids::kTitle, m_tags.imageTitle);
    DDX_Text(dx, ids::kKeywords, m_tags.keywords);
    DDX_Text(dx, ids::kWidth, m_tags.width);
}

}  // namespace vistello
