#include "text/html_escape.h"

#include "text/character_references.h"

namespace vistello {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a browser would read the "&" at `at` as the start of a character reference: a number,
// a name closed by ";", or one of the names it reads without one. Any other "&" ("Q&A") is shown
// as it is.
bool MayStartReference(std::string_view text, size_t at) {
    const std::string_view rest = text.substr(at + 1);
    if (rest.starts_with('#')) return true;
    size_t name = 0;
    while (name < rest.size() && (IsAsciiLetter(rest[name]) || IsAsciiDigit(rest[name]))) ++name;
    if (name == 0) return false;
    if (name < rest.size() && rest[name] == ';') return true;
    return StartsLegacyName(rest);
}

}  // namespace

std::string HtmlEscaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

bool OpensMarkup(std::string_view text, size_t at) {
    if (at + 1 >= text.size()) return true;
    const char next = text[at + 1];
    return IsAsciiLetter(next) || next == '/' || next == '!' || next == '?';
}

bool StartsReference(std::string_view text) {
    const size_t end = text.find(';');
    if (text.empty() || text.front() != '&' || end == std::string_view::npos || end < 2 || end > 32)
        return false;
    const std::string_view name = text.substr(1, end - 1);
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && !(c == '#' && i == 0)) return false;
    }
    return true;
}

std::string FieldHtml(std::string_view text) {
    std::string html;
    html.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '<' && OpensMarkup(text, at)) {
            html += "&lt;";
        } else if (c == '&' && MayStartReference(text, at)) {
            html += "&amp;";
        } else if (c == '"') {
            html += "&quot;";
        } else {
            html += c;
        }
    }
    return html;
}

std::string AttributeEscaped(std::string_view html) {
    std::string escaped;
    escaped.reserve(html.size());
    for (size_t at = 0; at < html.size(); ++at) {
        const char c = html[at];
        if (c == '&' && StartsReference(html.substr(at))) {
            escaped += c;
        } else {
            escaped += HtmlEscaped(html.substr(at, 1));
        }
    }
    return escaped;
}

}  // namespace vistello
