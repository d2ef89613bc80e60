#pragma once

#include "framework/file_picker.h"

namespace vistello {

// The picker of an HTML template, for the pages or for the overview page.
inline FilePickerOptions TemplatePicker() {
    return {"",
            {{"HTML Files", {"*.htm"}}, {"HTML Files", {"*.html"}}, {"All Files", {"*"}}},
            "htm",
            ""};
}

}  // namespace vistello
