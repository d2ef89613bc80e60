#include "private/sealed_pages.h"

#include "private/embedded_files.h"
#include "text/letter_case.h"

namespace vistello {

namespace {

constexpr std::string_view kIdMark = "@ID@";

}  // namespace

bool IsPagePath(std::string_view path) {
    const std::string name = FoldedCase(path.substr(path.rfind('/') + 1));
    return name.ends_with(".html") || name.ends_with(".htm");
}

std::string StubPage(std::string_view id) {
    const std::string_view stub = EmbeddedFile("stub.html");
    std::string page;
    page.reserve(stub.size());
    size_t start = 0;
    for (size_t mark = stub.find(kIdMark); mark != std::string_view::npos;
         mark = stub.find(kIdMark, start)) {
        page.append(stub.substr(start, mark - start)).append(id);
        start = mark + kIdMark.size();
    }
    return page.append(stub.substr(start));
}

}  // namespace vistello
