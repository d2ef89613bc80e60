// Page names and addresses: a name never leaves the output folder, never hides, fits the file
// system, never clashes with another page or an image; what goes into an address never ends it
// and decodes back to the name.
#include <charconv>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "generator/page_names.h"

using namespace vistello;
using vistello::fuzz::Check;
using vistello::fuzz::FuzzInput;

namespace {

bool EndsAnAddress(unsigned char byte) {
    return byte <= 0x20 || byte >= 0x7F ||
           std::string_view("\"'<>`=&#?:\\").find(static_cast<char>(byte)) !=
               std::string_view::npos;
}

void CheckAddress(const std::string& name) {
    const std::string target = EncodeLinkTarget(name);
    std::string decoded;
    for (size_t i = 0; i < target.size(); ++i) {
        unsigned byte = static_cast<unsigned char>(target[i]);
        Check(!EndsAnAddress(byte), "a byte that ends an address is left in the link");
        if (byte == '%') {
            const char* const hex = target.data() + i + 1;
            Check(i + 2 < target.size() && std::from_chars(hex, hex + 2, byte, 16).ptr == hex + 2,
                  "a cut or bad escape");
            i += 2;
        }
        decoded += static_cast<char>(byte);
    }
    Check(decoded == name, "the link does not decode to the name");
}

void CheckName(const std::string& name) {
    Check(name.size() <= 255, "a name longer than the file system allows");
    Check(name.ends_with(".htm"), "a page name without .htm");
    Check(name.find('/') == std::string::npos, "a separator in a page name");
    Check(name.find('\0') == std::string::npos, "a NUL byte in a page name");
    Check(name.front() != '.', "a hidden page");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    std::vector<std::string> images;
    for (std::string image = input.Next(); !image.empty() && images.size() < 9;
         image = input.Next())
        images.push_back(image);
    std::vector<std::string> titleTexts;
    while (!input.Rest().empty() && titleTexts.size() < 64) titleTexts.push_back(input.Next());
    std::vector<std::string_view> titles(titleTexts.begin(), titleTexts.end());

    const std::vector<std::string> names = PageFileNames(titles, images);
    Check(names.size() == titles.size(), "a page without a name");
    std::set<std::string> seen(images.begin(), images.end());
    for (const std::string& name : names) {
        CheckName(name);
        CheckAddress(name);
        Check(seen.insert(name).second, "two pages, or a page and an image, share a name");
    }
    return 0;
}
