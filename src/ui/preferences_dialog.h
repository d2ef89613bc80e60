#pragma once

#include "framework/dialog.h"
#include "prefs/tag_set.h"

namespace vistello {

// Edits a copy of the tags and the tool-tips switch. OK takes the fields in; Escape and the
// close box leave the copy as it was given.
class CPreferencesDialog : public CDialog {
public:
    CPreferencesDialog();

    bool m_bToolTips = false;
    TagSet m_tags;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

}  // namespace vistello
