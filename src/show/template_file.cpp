#include "show/template_file.h"

namespace vistello {

std::string TemplateFileOrDefault(std::string_view setting) {
    return std::string(setting.empty() ? kDefaultTemplate : setting);
}

}  // namespace vistello
