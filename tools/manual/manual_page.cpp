#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/command_line.h"

// Writes the manual page from its frame, filling in the synopsis, the summary and the options
// from the text --help prints, so that `man vistello` and --help say the same.
namespace {

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' || c == '$';
}

bool IsPlaceholder(std::string_view word) {
    const std::string_view name = word.starts_with('$') ? word.substr(1) : word;
    if (name.size() < 2) return false;
    for (const char c : name) {
        if (!std::isupper(static_cast<unsigned char>(c)) && c != '_') return false;
    }
    return true;
}

// Plain text as roff reads it: a backslash and a hyphen are escaped.
std::string Escape(std::string_view text) {
    std::string roff;
    for (const char c : text) {
        if (c == '\\') {
            roff += "\\e";
        } else if (c == '-') {
            roff += "\\-";
        } else {
            roff += c;
        }
    }
    return roff;
}

// A line of text never starts as a request.
std::string Line(std::string roff) {
    if (roff.starts_with('.') || roff.starts_with('\'')) roff.insert(0, "\\&");
    return roff + "\n";
}

// Options and the program's name in bold, what the user fills in (PROJECT) in italics.
std::string Styled(std::string_view text, bool boldOptions) {
    std::string roff;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = i;
        while (end < text.size() && IsWordChar(text[end])) ++end;
        if (end == i) {
            roff += Escape(text.substr(i, 1));
            ++i;
            continue;
        }
        const std::string_view word = text.substr(i, end - i);
        const bool bold = boldOptions && (word.starts_with('-') || word == "vistello");
        if (bold || IsPlaceholder(word)) {
            roff.append(bold ? "\\fB" : "\\fI").append(Escape(word)).append("\\fR");
        } else {
            roff += Escape(word);
        }
        i = end;
    }
    return roff;
}

std::string_view Trimmed(std::string_view line) {
    const size_t start = line.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

struct Parts {
    std::string synopsis;
    std::string summary;
    std::string options;
};

void AddOption(std::string_view line, Parts& parts) {
    const std::string_view text = Trimmed(line);
    const size_t gap = text.find("  ");
    parts.options += ".TP\n" + Line(Styled(text.substr(0, gap), true));
    if (gap != std::string_view::npos)
        parts.options += Line(Styled(Trimmed(text.substr(gap)), false));
}

Parts Convert(std::string_view usage) {
    Parts parts;
    bool inOptions = false;
    std::istringstream lines{std::string(usage)};
    for (std::string line; std::getline(lines, line);) {
        const std::string_view text = Trimmed(line);
        if (text.empty()) {
            inOptions = true;
        } else if (inOptions && text.starts_with('-')) {
            AddOption(line, parts);
        } else if (inOptions) {
            parts.options += Line(Styled(text, false));
        } else if (text.starts_with("Usage: ") || text.starts_with("or: ")) {
            if (!parts.synopsis.empty()) parts.synopsis += ".br\n";
            parts.synopsis += Line(Styled(text.substr(text.find(' ') + 1), true));
        } else {
            parts.summary += Line(Styled(text, false));
        }
    }
    return parts;
}

void Replace(std::string& text, std::string_view mark, const std::string& with) {
    const size_t at = text.find(mark);
    if (at == std::string::npos) throw std::runtime_error("the frame has no " + std::string(mark));
    text.replace(at, mark.size() + 1, with);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "Usage: vistello_manual_page FRAME PAGE\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
        const Parts parts = Convert(vistello::UsageText());
        Replace(page, "%SYNOPSIS%", parts.synopsis);
        Replace(page, "%SUMMARY%", parts.summary);
        Replace(page, "%OPTIONS%", parts.options);
        std::ofstream out(argv[2], std::ios::binary);
        if (!(out << page) || !out.flush()) throw std::runtime_error("cannot write the page");
    } catch (const std::exception& error) {
        std::cerr << "vistello_manual_page: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
