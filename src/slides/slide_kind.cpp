#include "slides/slide_kind.h"

#include "files/path_rules.h"
#include "slides/folder_import.h"
#include "slides/image_kinds.h"

namespace vistello {

SlideKind SlideKindOf(std::string_view path) {
    const size_t last = path.rfind(kPathSeparator);
    const std::string_view name = last == std::string_view::npos ? path : path.substr(last + 1);
    if (IsProjectFileName(name)) return SlideKind::Album;
    return IsClipFileName(name) ? SlideKind::Clip : SlideKind::Photo;
}

}  // namespace vistello
