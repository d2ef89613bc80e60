#include "slides/photo_fields.h"

#include "text/html_escape.h"

namespace vistello {

ImageEntry FieldsFromDetails(const PhotoDetails& details) {
    ImageEntry fields;
    fields.title = FieldHtml(details.title);
    fields.alt = FieldHtml(details.alt);
    fields.keywords = FieldHtml(details.keywords);
    fields.description = FieldHtml(details.description);
    return fields;
}

}  // namespace vistello
