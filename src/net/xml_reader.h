#pragma once

#include <functional>
#include <string_view>

namespace vistello {

// What a reader of an XML answer hears: each element's start and end by its name without its
// namespace, the end with the element's own text.
struct XmlHandlers {
    std::function<void(std::string_view name)> start;
    std::function<void(std::string_view name, std::string_view text)> end;
};

// False when the text is not well-formed XML, or declares a document type: no server's answer
// needs one, and its entities could make a small answer huge.
bool ReadXml(std::string_view xml, const XmlHandlers& handlers);

}  // namespace vistello
