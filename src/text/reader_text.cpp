#include "text/reader_text.h"

#include <optional>

#include "text/character_references.h"
#include "text/html_escape.h"

namespace vistello {

namespace {

// Past the markup the "<" at `at` opens: a comment ends at "-->", anything else at the first ">"
// outside a quoted attribute value; markup left open takes the rest.
size_t PastMarkup(std::string_view html, size_t at) {
    if (html.substr(at).starts_with("<!--")) {
        const size_t end = html.find("-->", at + 4);
        return end == std::string_view::npos ? html.size() : end + 3;
    }
    char quote = 0;
    bool afterEquals = false;
    for (size_t i = at + 1; i < html.size(); ++i) {
        const char c = html[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '>') {
            return i + 1;
        } else if (afterEquals && (c == '"' || c == '\'')) {
            quote = c;
        }
        if (c != ' ') afterEquals = c == '=';
    }
    return html.size();
}

}  // namespace

std::string ReaderText(std::string_view html) {
    std::string text;
    text.reserve(html.size());
    for (size_t at = 0; at < html.size();) {
        const char c = html[at];
        if (c == '<' && at + 1 < html.size() && OpensMarkup(html, at)) {
            at = PastMarkup(html, at);
            continue;
        }
        if (c == '&') {
            if (const std::optional<CharacterReference> reference =
                    ReadCharacterReference(html.substr(at))) {
                text += reference->characters;
                at += reference->length;
                continue;
            }
        }
        text += c;
        ++at;
    }
    return text;
}

}  // namespace vistello
