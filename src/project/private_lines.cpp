#include "project/private_lines.h"

#include "text/key_value_lines.h"

namespace vistello {

namespace {

constexpr std::string_view kPrivateKey = "PRIVATE";
constexpr std::string_view kTitleKey = "PRIVATE_TITLE";
constexpr std::string_view kRowKey = "IMAGE";

std::string_view KeyOf(std::string_view line) {
    line = TrimTrailingSpace(line);
    return line.substr(0, line.find('='));
}

// The project's part of the bytes: up to the Ctrl-Z that ends a text file's data.
std::string_view ProjectPart(std::string_view bytes) { return bytes.substr(0, bytes.find('\x1A')); }

}  // namespace

Privacy PrivacyOf(std::string_view bytes) {
    Privacy privacy;
    ForEachKeyValue(ProjectPart(bytes), [&privacy](std::string_view key, std::string_view value) {
        if (key == kPrivateKey) privacy.isPrivate = value == "yes";
        if (key == kTitleKey) privacy.showsTitle = value == "yes";
    });
    return privacy;
}

std::string WithPrivacyLines(std::string_view bytes, Privacy privacy) {
    const std::string_view project = ProjectPart(bytes);
    std::string text;
    text.reserve(bytes.size() + 40);
    size_t firstRow = std::string::npos;
    for (size_t start = 0; start < project.size();) {
        const size_t end = project.find('\n', start);
        const size_t next = end == std::string_view::npos ? project.size() : end + 1;
        const std::string_view line = project.substr(start, next - start);
        start = next;
        const std::string_view key = KeyOf(line);
        if (key == kPrivateKey || key == kTitleKey) continue;
        if (key == kRowKey && firstRow == std::string::npos) firstRow = text.size();
        text.append(line);
    }
    if (firstRow == std::string::npos) {
        if (!text.empty() && text.back() != '\n') text.append("\r\n");
        firstRow = text.size();
    }
    std::string lines;
    if (privacy.isPrivate) {
        lines.append(kPrivateKey).append("=yes\r\n");
        if (privacy.showsTitle) lines.append(kTitleKey).append("=yes\r\n");
    }
    text.insert(firstRow, lines);
    text.append(bytes.substr(project.size()));
    return text;
}

WebSettings WithPrivacy(const WebSettings& web, Privacy privacy) {
    std::string text;
    AppendWebSettings(text, web);
    WebSettings changed;
    ForEachKeyValue(WithPrivacyLines(text, privacy),
                    [&changed](std::string_view key, std::string_view value) {
                        ReadWebSetting(key, value, changed);
                    });
    return changed;
}

Privacy PrivacyOf(const WebSettings& web) {
    std::string text;
    AppendWebSettings(text, web);
    return PrivacyOf(text);
}

}  // namespace vistello
