#pragma once

#include <string>
#include <string_view>

namespace vistello {

// Text as it may stand in an HTML page, between tags or in a quoted attribute value, and be shown
// as the same text: &, <, > and " written as entities.
std::string HtmlEscaped(std::string_view text);

// Whether the "<" at `at` opens a tag, an end tag, a comment or a declaration: a letter, "/", "!"
// or "?" follows it. One at the end may meet such a byte where the text is put.
bool OpensMarkup(std::string_view text, size_t at);

// Whether the text begins with "&", a name or a "#" number, and ";": a character reference.
bool StartsReference(std::string_view text);

// Text read from a file as HTML that shows it as it reads, whether it stands between tags or in a
// double-quoted attribute value, and that stays readable where it is edited: only a "<" that
// would open markup, a "&" that would start a character reference, and every '"' are written as
// entities. "Tom & Jerry" and "a < b" stay as they are; "<script>" becomes "&lt;script>".
std::string FieldHtml(std::string_view text);

// HTML put into an attribute value the program quotes itself: '"', "<", ">" and every "&" that
// does not start a character reference written as entities. Escaping it again changes nothing,
// and references the user typed still show their characters.
std::string AttributeEscaped(std::string_view html);

}  // namespace vistello
