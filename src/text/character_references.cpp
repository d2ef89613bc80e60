#include "text/character_references.h"

#include <algorithm>

namespace vistello {

namespace {

struct NamedCharacter {
    std::string_view name;
    char32_t character;
    // Read even without its ";".
    bool legacy;
};

// In byte order of the names, for the search.
constexpr NamedCharacter kNamed[] = {
    {"AElig", 0xC6, true},     {"AMP", 0x26, true},        {"Aacute", 0xC1, true},
    {"Acirc", 0xC2, true},     {"Agrave", 0xC0, true},     {"Alpha", 0x391, false},
    {"Aring", 0xC5, true},     {"Atilde", 0xC3, true},     {"Auml", 0xC4, true},
    {"Beta", 0x392, false},    {"COPY", 0xA9, true},       {"Ccedil", 0xC7, true},
    {"Chi", 0x3A7, false},     {"Dagger", 0x2021, false},  {"Delta", 0x394, false},
    {"ETH", 0xD0, true},       {"Eacute", 0xC9, true},     {"Ecirc", 0xCA, true},
    {"Egrave", 0xC8, true},    {"Epsilon", 0x395, false},  {"Eta", 0x397, false},
    {"Euml", 0xCB, true},      {"GT", 0x3E, true},         {"Gamma", 0x393, false},
    {"Iacute", 0xCD, true},    {"Icirc", 0xCE, true},      {"Igrave", 0xCC, true},
    {"Iota", 0x399, false},    {"Iuml", 0xCF, true},       {"Kappa", 0x39A, false},
    {"LT", 0x3C, true},        {"Lambda", 0x39B, false},   {"Mu", 0x39C, false},
    {"Ntilde", 0xD1, true},    {"Nu", 0x39D, false},       {"OElig", 0x152, false},
    {"Oacute", 0xD3, true},    {"Ocirc", 0xD4, true},      {"Ograve", 0xD2, true},
    {"Omega", 0x3A9, false},   {"Omicron", 0x39F, false},  {"Oslash", 0xD8, true},
    {"Otilde", 0xD5, true},    {"Ouml", 0xD6, true},       {"Phi", 0x3A6, false},
    {"Pi", 0x3A0, false},      {"Prime", 0x2033, false},   {"Psi", 0x3A8, false},
    {"QUOT", 0x22, true},      {"REG", 0xAE, true},        {"Rho", 0x3A1, false},
    {"Scaron", 0x160, false},  {"Sigma", 0x3A3, false},    {"THORN", 0xDE, true},
    {"Tau", 0x3A4, false},     {"Theta", 0x398, false},    {"Uacute", 0xDA, true},
    {"Ucirc", 0xDB, true},     {"Ugrave", 0xD9, true},     {"Upsilon", 0x3A5, false},
    {"Uuml", 0xDC, true},      {"Xi", 0x39E, false},       {"Yacute", 0xDD, true},
    {"Yuml", 0x178, false},    {"Zeta", 0x396, false},     {"aacute", 0xE1, true},
    {"acirc", 0xE2, true},     {"acute", 0xB4, true},      {"aelig", 0xE6, true},
    {"agrave", 0xE0, true},    {"alefsym", 0x2135, false}, {"alpha", 0x3B1, false},
    {"amp", 0x26, true},       {"and", 0x2227, false},     {"ang", 0x2220, false},
    {"apos", 0x27, false},     {"aring", 0xE5, true},      {"asymp", 0x2248, false},
    {"atilde", 0xE3, true},    {"auml", 0xE4, true},       {"bdquo", 0x201E, false},
    {"beta", 0x3B2, false},    {"brvbar", 0xA6, true},     {"bull", 0x2022, false},
    {"cap", 0x2229, false},    {"ccedil", 0xE7, true},     {"cedil", 0xB8, true},
    {"cent", 0xA2, true},      {"chi", 0x3C7, false},      {"circ", 0x2C6, false},
    {"clubs", 0x2663, false},  {"cong", 0x2245, false},    {"copy", 0xA9, true},
    {"crarr", 0x21B5, false},  {"cup", 0x222A, false},     {"curren", 0xA4, true},
    {"dArr", 0x21D3, false},   {"dagger", 0x2020, false},  {"darr", 0x2193, false},
    {"deg", 0xB0, true},       {"delta", 0x3B4, false},    {"diams", 0x2666, false},
    {"divide", 0xF7, true},    {"eacute", 0xE9, true},     {"ecirc", 0xEA, true},
    {"egrave", 0xE8, true},    {"empty", 0x2205, false},   {"emsp", 0x2003, false},
    {"ensp", 0x2002, false},   {"epsilon", 0x3B5, false},  {"equiv", 0x2261, false},
    {"eta", 0x3B7, false},     {"eth", 0xF0, true},        {"euml", 0xEB, true},
    {"euro", 0x20AC, false},   {"exist", 0x2203, false},   {"fnof", 0x192, false},
    {"forall", 0x2200, false}, {"frac12", 0xBD, true},     {"frac14", 0xBC, true},
    {"frac34", 0xBE, true},    {"frasl", 0x2044, false},   {"gamma", 0x3B3, false},
    {"ge", 0x2265, false},     {"gt", 0x3E, true},         {"hArr", 0x21D4, false},
    {"harr", 0x2194, false},   {"hearts", 0x2665, false},  {"hellip", 0x2026, false},
    {"iacute", 0xED, true},    {"icirc", 0xEE, true},      {"iexcl", 0xA1, true},
    {"igrave", 0xEC, true},    {"image", 0x2111, false},   {"infin", 0x221E, false},
    {"int", 0x222B, false},    {"iota", 0x3B9, false},     {"iquest", 0xBF, true},
    {"isin", 0x2208, false},   {"iuml", 0xEF, true},       {"kappa", 0x3BA, false},
    {"lArr", 0x21D0, false},   {"lambda", 0x3BB, false},   {"lang", 0x2329, false},
    {"laquo", 0xAB, true},     {"larr", 0x2190, false},    {"lceil", 0x2308, false},
    {"ldquo", 0x201C, false},  {"le", 0x2264, false},      {"lfloor", 0x230A, false},
    {"lowast", 0x2217, false}, {"loz", 0x25CA, false},     {"lrm", 0x200E, false},
    {"lsaquo", 0x2039, false}, {"lsquo", 0x2018, false},   {"lt", 0x3C, true},
    {"macr", 0xAF, true},      {"mdash", 0x2014, false},   {"micro", 0xB5, true},
    {"middot", 0xB7, true},    {"minus", 0x2212, false},   {"mu", 0x3BC, false},
    {"nabla", 0x2207, false},  {"nbsp", 0xA0, true},       {"ndash", 0x2013, false},
    {"ne", 0x2260, false},     {"ni", 0x220B, false},      {"not", 0xAC, true},
    {"notin", 0x2209, false},  {"nsub", 0x2284, false},    {"ntilde", 0xF1, true},
    {"nu", 0x3BD, false},      {"oacute", 0xF3, true},     {"ocirc", 0xF4, true},
    {"oelig", 0x153, false},   {"ograve", 0xF2, true},     {"oline", 0x203E, false},
    {"omega", 0x3C9, false},   {"omicron", 0x3BF, false},  {"oplus", 0x2295, false},
    {"or", 0x2228, false},     {"ordf", 0xAA, true},       {"ordm", 0xBA, true},
    {"oslash", 0xF8, true},    {"otilde", 0xF5, true},     {"otimes", 0x2297, false},
    {"ouml", 0xF6, true},      {"para", 0xB6, true},       {"part", 0x2202, false},
    {"permil", 0x2030, false}, {"perp", 0x22A5, false},    {"phi", 0x3C6, false},
    {"pi", 0x3C0, false},      {"piv", 0x3D6, false},      {"plusmn", 0xB1, true},
    {"pound", 0xA3, true},     {"prime", 0x2032, false},   {"prod", 0x220F, false},
    {"prop", 0x221D, false},   {"psi", 0x3C8, false},      {"quot", 0x22, true},
    {"rArr", 0x21D2, false},   {"radic", 0x221A, false},   {"rang", 0x232A, false},
    {"raquo", 0xBB, true},     {"rarr", 0x2192, false},    {"rceil", 0x2309, false},
    {"rdquo", 0x201D, false},  {"real", 0x211C, false},    {"reg", 0xAE, true},
    {"rfloor", 0x230B, false}, {"rho", 0x3C1, false},      {"rlm", 0x200F, false},
    {"rsaquo", 0x203A, false}, {"rsquo", 0x2019, false},   {"sbquo", 0x201A, false},
    {"scaron", 0x161, false},  {"sdot", 0x22C5, false},    {"sect", 0xA7, true},
    {"shy", 0xAD, true},       {"sigma", 0x3C3, false},    {"sigmaf", 0x3C2, false},
    {"sim", 0x223C, false},    {"spades", 0x2660, false},  {"sub", 0x2282, false},
    {"sube", 0x2286, false},   {"sum", 0x2211, false},     {"sup", 0x2283, false},
    {"sup1", 0xB9, true},      {"sup2", 0xB2, true},       {"sup3", 0xB3, true},
    {"supe", 0x2287, false},   {"szlig", 0xDF, true},      {"tau", 0x3C4, false},
    {"there4", 0x2234, false}, {"theta", 0x3B8, false},    {"thetasym", 0x3D1, false},
    {"thinsp", 0x2009, false}, {"thorn", 0xFE, true},      {"tilde", 0x2DC, false},
    {"times", 0xD7, true},     {"trade", 0x2122, false},   {"uArr", 0x21D1, false},
    {"uacute", 0xFA, true},    {"uarr", 0x2191, false},    {"ucirc", 0xFB, true},
    {"ugrave", 0xF9, true},    {"uml", 0xA8, true},        {"upsih", 0x3D2, false},
    {"upsilon", 0x3C5, false}, {"uuml", 0xFC, true},       {"weierp", 0x2118, false},
    {"xi", 0x3BE, false},      {"yacute", 0xFD, true},     {"yen", 0xA5, true},
    {"yuml", 0xFF, true},      {"zeta", 0x3B6, false},     {"zwj", 0x200D, false},
    {"zwnj", 0x200C, false}};

constexpr char32_t kReplacement = 0xFFFD;
// Past the last character, so that a long run of digits stays out of range.
constexpr unsigned long kBeyond = 0x110000;

bool IsAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int DigitValue(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

CharacterReference Reference(char32_t character, size_t length) {
    CharacterReference reference;
    AppendUtf8(reference.characters, character);
    reference.length = length;
    return reference;
}

// Control characters, surrogates and numbers past the last character show as no character.
char32_t Shown(unsigned long value) {
    if (value == '\t' || value == '\n' || value == '\f' || value == '\r') return ' ';
    if (value < 0x20 || (value >= 0x7F && value <= 0x9F) || (value >= 0xD800 && value <= 0xDFFF) ||
        value >= kBeyond)
        return kReplacement;
    return static_cast<char32_t>(value);
}

// "&#" and digits, the ";" optional as a browser reads it.
std::optional<CharacterReference> ReadNumber(std::string_view text) {
    size_t at = 2;
    int base = 10;
    if (at < text.size() && (text[at] == 'x' || text[at] == 'X')) {
        base = 16;
        ++at;
    }
    const size_t digits = at;
    unsigned long value = 0;
    for (int digit = 0; at < text.size() && (digit = DigitValue(text[at], base)) >= 0; ++at)
        value = std::min(
            value * static_cast<unsigned long>(base) + static_cast<unsigned long>(digit), kBeyond);
    if (at == digits) return std::nullopt;
    if (at < text.size() && text[at] == ';') ++at;
    return Reference(Shown(value), at);
}

const NamedCharacter* Find(std::string_view name) {
    const auto found = std::lower_bound(
        std::begin(kNamed), std::end(kNamed), name,
        [](const NamedCharacter& entry, std::string_view key) { return entry.name < key; });
    return found != std::end(kNamed) && found->name == name ? found : nullptr;
}

// The longest name read without its ";" that the text begins with.
const NamedCharacter* LongestLegacy(std::string_view text) {
    const NamedCharacter* longest = nullptr;
    for (const NamedCharacter& entry : kNamed) {
        if (entry.legacy && text.starts_with(entry.name) &&
            (longest == nullptr || entry.name.size() > longest->name.size()))
            longest = &entry;
    }
    return longest;
}

}  // namespace

std::optional<CharacterReference> ReadCharacterReference(std::string_view text) {
    if (!text.starts_with('&')) return std::nullopt;
    if (text.substr(1).starts_with('#')) return ReadNumber(text);
    const std::string_view rest = text.substr(1);
    size_t end = 0;
    while (end < rest.size() && IsAsciiAlnum(rest[end])) ++end;
    if (end < rest.size() && rest[end] == ';') {
        if (const NamedCharacter* named = Find(rest.substr(0, end)))
            return Reference(named->character, end + 2);
    }
    const NamedCharacter* legacy = LongestLegacy(rest);
    if (legacy == nullptr) return std::nullopt;
    return Reference(legacy->character, legacy->name.size() + 1);
}

bool StartsLegacyName(std::string_view text) { return LongestLegacy(text) != nullptr; }

}  // namespace vistello
