#pragma once

#include "framework/dialog_template.h"

namespace vistello {

const DialogTemplate& MainDialogTemplate();
const DialogTemplate& AboutDialogTemplate();
const DialogTemplate& PreferencesDialogTemplate();
const DialogTemplate& WebImagesDialogTemplate();
const DialogTemplate& PublishDialogTemplate();
// With a field for S3's access key id, where the address names none.
const DialogTemplate& PasswordDialogTemplate(bool withAccessKey);
const DialogTemplate& PrivateAlbumDialogTemplate();

}  // namespace vistello
