#include <cctype>
#include <charconv>
#include <string>
#include <string_view>

#include "publish/site_publisher.h"
#include "text/percent_encoding.h"

namespace vistello {

namespace {

struct Scheme {
    std::string_view name;
    PublishProtocol protocol;
    bool secure;
};

constexpr Scheme kSchemes[] = {
    {"sftp", PublishProtocol::Sftp, true},    {"ftp", PublishProtocol::Ftp, false},
    {"ftps", PublishProtocol::Ftps, true},    {"http", PublishProtocol::WebDav, false},
    {"https", PublishProtocol::WebDav, true}, {"s3", PublishProtocol::S3, true},
    {"s3+http", PublishProtocol::S3, false},
};

constexpr std::string_view kUsualRegion = "us-east-1";

bool HostByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

bool GoodHost(std::string_view host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        for (unsigned char c : host.substr(1, host.size() - 2))
            if (!(std::isxdigit(c) || c == ':' || c == '.')) return false;
        return true;
    }
    if (host.empty()) return false;
    for (unsigned char c : host)
        if (!HostByte(c)) return false;
    return true;
}

// The folder's steps, decoded; none may leave the folder the address names or hold a byte no
// server takes in a name.
bool DecodeFolder(std::string_view path, std::string& folder) {
    folder = PercentDecode(path);
    if (folder.empty()) folder.assign(1, '/');
    if (folder.front() != '/' || folder.find('\0') != std::string::npos) return false;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    size_t start = 1;
    while (start < folder.size()) {
        size_t end = folder.find('/', start);
        if (end == std::string::npos) end = folder.size();
        const std::string_view step = std::string_view(folder).substr(start, end - start);
        if (step.empty() || step == "." || step == "..") return false;
        start = end + 1;
    }
    return true;
}

// The region an AWS endpoint names ("s3.eu-west-1.amazonaws.com"), else the usual one.
std::string RegionOf(std::string_view host) {
    constexpr std::string_view kAws = ".amazonaws.com";
    if (host.size() > kAws.size() && host.ends_with(kAws) && host.starts_with("s3.")) {
        std::string_view middle = host.substr(3, host.size() - 3 - kAws.size());
        if (!middle.empty() && middle.find('.') == std::string_view::npos)
            return std::string(middle);
    }
    return std::string(kUsualRegion);
}

bool SplitBucket(PublishTarget& target) {
    const std::string_view folder = target.folder;
    if (folder.size() < 2) return false;
    const size_t slash = folder.find('/', 1);
    target.bucket =
        std::string(folder.substr(1, slash == std::string_view::npos ? folder.npos : slash - 1));
    target.prefix =
        slash == std::string_view::npos ? "" : std::string(folder.substr(slash + 1)) + "/";
    return true;
}

bool ReadQuery(std::string_view query, PublishTarget& target) {
    if (query.empty()) return true;
    if (target.protocol != PublishProtocol::S3 || !query.starts_with("region=")) return false;
    target.region = PercentDecode(query.substr(7));
    for (unsigned char c : target.region)
        if (!(std::isalnum(c) || c == '-')) return false;
    return !target.region.empty();
}

bool ReadPort(std::string_view text, int& port) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    return error == std::errc() && end == text.data() + text.size() && port > 0 && port < 65536;
}

std::optional<PublishTarget> Refuse(std::string& failure, std::string reason) {
    failure = std::move(reason);
    return std::nullopt;
}

}  // namespace

std::optional<PublishTarget> ParsePublishTarget(std::string_view address, std::string& failure) {
    PublishTarget target;
    target.address = address;
    const size_t colon = address.find("://");
    const Scheme* scheme = nullptr;
    for (const Scheme& known : kSchemes)
        if (colon != std::string_view::npos && address.substr(0, colon) == known.name)
            scheme = &known;
    if (scheme == nullptr)
        return Refuse(failure,
                      "the address must begin with sftp://, ftp://, ftps://, http://, "
                      "https://, s3:// or s3+http://");
    target.protocol = scheme->protocol;
    target.secure = scheme->secure;
    std::string_view rest = address.substr(colon + 3);
    if (rest.find('#') != std::string_view::npos)
        return Refuse(failure, "a # in the address must be written %23");
    const size_t question = rest.find('?');
    const std::string_view query = question == rest.npos ? "" : rest.substr(question + 1);
    rest = rest.substr(0, question);
    const size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    const std::string_view path = slash == rest.npos ? "" : rest.substr(slash);
    if (const size_t at = authority.rfind('@'); at != authority.npos) {
        const std::string_view user = authority.substr(0, at);
        if (user.find(':') != user.npos)
            return Refuse(failure,
                          "the address holds a password; Vistello takes passwords from "
                          "the keyring or a password file, never from the project");
        target.user = PercentDecode(user);
        authority = authority.substr(at + 1);
    }
    const size_t portColon = authority.rfind(':');
    if (portColon != authority.npos && authority.substr(portColon).find(']') == authority.npos) {
        if (!ReadPort(authority.substr(portColon + 1), target.port))
            return Refuse(failure, "the port must be a number from 1 to 65535");
        authority = authority.substr(0, portColon);
    }
    target.host = authority;
    if (!GoodHost(target.host)) return Refuse(failure, "the address names no valid server");
    if (!DecodeFolder(path, target.folder))
        return Refuse(failure,
                      "the folder on the server may not hold . or .. steps, empty steps "
                      "or a zero byte");
    if (target.protocol == PublishProtocol::S3) {
        target.region = RegionOf(target.host);
        if (!SplitBucket(target))
            return Refuse(failure,
                          "an S3 address names its bucket: "
                          "s3://host/bucket/folder");
    }
    if (!ReadQuery(query, target))
        return Refuse(failure, "the address may end only in ?region=NAME, and only for S3");
    return target;
}

}  // namespace vistello
