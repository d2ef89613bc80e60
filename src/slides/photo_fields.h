#pragma once

#include "media/photo_details.h"
#include "slides/image_entry.h"

namespace vistello {

// The page fields a file's details fill: the title, description, keywords and alt text. Fields
// hold HTML, as the user types it; what anyone may have written into a file is text, so it enters
// them here, and only here, as HTML that shows it as it reads (see FieldHtml).
ImageEntry FieldsFromDetails(const PhotoDetails& details);

}  // namespace vistello
