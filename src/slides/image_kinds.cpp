#include "slides/image_kinds.h"

#include <algorithm>

#include "files/path_rules.h"
#include "text/letter_case.h"

namespace vistello {

const std::vector<ImageKind>& ImageKinds() {
    static const std::vector<ImageKind> kinds = {{"JPG Files", {"jpg", "jpeg"}},
                                                 {"PNG Files", {"png"}},
                                                 {"TIF Files", {"tif", "tiff"}},
                                                 {"BMP Files", {"bmp"}},
                                                 {"GIF Files", {"gif"}}};
    return kinds;
}

bool IsImageFileName(std::string_view name) {
    const std::string_view extension = ExtensionOf(name);
    return std::any_of(ImageKinds().begin(), ImageKinds().end(), [&](const ImageKind& kind) {
        return std::any_of(
            kind.extensions.begin(), kind.extensions.end(),
            [&](std::string_view known) { return EqualIgnoringCase(extension, known); });
    });
}

}  // namespace vistello
