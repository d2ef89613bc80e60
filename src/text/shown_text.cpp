#include "text/shown_text.h"

#include <array>
#include <optional>

#include "text/character_references.h"
#include "text/html_escape.h"
#include "text/letter_case.h"

namespace vistello {

namespace {

constexpr std::array<std::string_view, 18> kBlocks = {
    "p",  "div", "li", "ul", "ol", "tr", "table", "blockquote", "h1",
    "h2", "h3",  "h4", "h5", "h6", "dl", "dt",    "dd",         "pre"};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// The tag's name in small letters, after "<" or "</".
std::string TagName(std::string_view tag) {
    size_t at = tag.starts_with("</") ? 2 : 1;
    std::string name;
    while (at < tag.size() && !IsSpace(tag[at]) && tag[at] != '>' && tag[at] != '/')
        name += AsciiLower(tag[at++]);
    return name;
}

// Builds the shown text, one piece at a time.
class Shown {
public:
    void Text(std::string_view text) {
        if (m_space && !m_text.empty() && m_text.back() != '\n') m_text += ' ';
        m_space = false;
        m_text += text;
    }
    void Space() { m_space = true; }
    void Break() {
        m_space = false;
        if (!m_text.empty() && m_text.back() != '\n') m_text += '\n';
    }
    std::string Take() {
        while (!m_text.empty() && m_text.back() == '\n') m_text.pop_back();
        return std::move(m_text);
    }

private:
    std::string m_text;
    bool m_space = false;
};

size_t FindIgnoringCase(std::string_view text, std::string_view sought, size_t from) {
    for (size_t at = from; at + sought.size() <= text.size(); ++at)
        if (EqualIgnoringCase(text.substr(at, sought.size()), sought)) return at;
    return std::string_view::npos;
}

// Where the markup that starts at `at` ends: past its ">", or past the end of what a script or
// style holds; the end of the text when it is never closed.
size_t MarkupEnd(std::string_view html, size_t at, const std::string& name) {
    if (html.substr(at).starts_with("<!--")) {
        const size_t end = html.find("-->", at + 4);
        return end == std::string_view::npos ? html.size() : end + 3;
    }
    size_t end = html.find('>', at);
    if (end == std::string_view::npos) return html.size();
    if ((name == "script" || name == "style") && html[at + 1] != '/') {
        const size_t close = FindIgnoringCase(html, "</" + name, end);
        if (close == std::string_view::npos) return html.size();
        end = html.find('>', close);
        if (end == std::string_view::npos) return html.size();
    }
    return end + 1;
}

}  // namespace

std::string ShownText(std::string_view html) {
    Shown shown;
    size_t at = 0;
    while (at < html.size()) {
        const char c = html[at];
        if (c == '<' && OpensMarkup(html, at)) {
            const std::string name = TagName(html.substr(at));
            if (name == "br") {
                shown.Break();
            } else {
                for (const std::string_view block : kBlocks)
                    if (name == block) shown.Break();
            }
            at = MarkupEnd(html, at, name);
        } else if (c == '&') {
            const std::optional<CharacterReference> reference =
                ReadCharacterReference(html.substr(at));
            shown.Text(reference ? reference->characters : "&");
            at += reference ? reference->length : 1;
        } else if (IsSpace(c)) {
            shown.Space();
            ++at;
        } else {
            shown.Text(html.substr(at, 1));
            ++at;
        }
    }
    return shown.Take();
}

}  // namespace vistello
