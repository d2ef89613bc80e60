#include "files/unique_names.h"

#include "text/letter_case.h"
#include "text/utf8_cut.h"

namespace vistello {

namespace {

std::string Numbered(std::string_view stem, int number, std::string_view extension) {
    std::string suffix(1, '_');
    suffix += std::to_string(number);
    std::string name(stem);
    CutToCharacter(name, kMaxFileNameBytes - extension.size() - suffix.size());
    return name.append(suffix).append(extension);
}

}  // namespace

bool UniqueNames::Take(std::string_view name) { return m_taken.insert(FoldedCase(name)).second; }

std::string UniqueNames::Claim(std::string_view stem, std::string_view extension,
                               const std::function<bool(const std::string& name)>& allowed) {
    std::string name(stem);
    CutToCharacter(name, kMaxFileNameBytes - extension.size());
    name.append(extension);
    if ((!allowed || allowed(name)) && Take(name)) return name;
    int& next = m_next.try_emplace(FoldedCase(name), 2).first->second;
    do {
        name = Numbered(stem, next++, extension);
    } while ((allowed && !allowed(name)) || !Take(name));
    return name;
}

}  // namespace vistello
