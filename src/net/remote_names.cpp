#include "net/remote_names.h"

#include <random>

#include "text/percent_encoding.h"

namespace vistello {

namespace {

bool Unreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

bool UnreservedOrSlash(unsigned char byte) { return byte == '/' || Unreserved(byte); }

}  // namespace

std::string EncodePath(std::string_view path) { return PercentEncode(path, UnreservedOrSlash); }

std::string EncodeStep(std::string_view step) { return PercentEncode(step, Unreserved); }

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (joined.empty() || joined.back() != '/') joined += '/';
    joined += name;
    return joined;
}

std::string ParentOf(std::string_view name) {
    const size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(name.substr(0, slash));
}

std::string LeafOf(std::string_view name) {
    const size_t slash = name.rfind('/');
    return std::string(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

std::string ServerUrl(std::string_view scheme, std::string_view host, int port) {
    std::string url(scheme);
    url.append("://").append(host);
    if (port != 0) url.append(":").append(std::to_string(port));
    return url;
}

std::string UploadTemporaryLeaf() {
    static constexpr char kHex[] = "0123456789abcdef";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string leaf = ".vistello-up-";
    for (int i = 0; i < 16; ++i) leaf += kHex[random() % 16];
    return leaf;
}

bool IsSendableName(std::string_view name) {
    if (name.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos) return false;
    size_t start = 0;
    while (true) {
        const size_t slash = name.find('/', start);
        const std::string_view step = name.substr(start, slash - start);
        if (step.empty() || step == "." || step == "..") return false;
        if (slash == std::string_view::npos) return true;
        start = slash + 1;
    }
}

}  // namespace vistello
