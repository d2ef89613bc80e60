#include "media/shooting_data.h"

#include <cmath>
#include <numeric>
#include <string_view>
#include <vector>

#include "files/unique_names.h"
#include "text/letter_case.h"
#include "text/utf8_cut.h"

namespace vistello {

namespace {

// Longer than any camera's or lens's name; the rest of such a value is noise.
constexpr size_t kMaxNameBytes = 100;

std::string Name(const StoredText& stored) {
    std::string name = OneLineText(stored).value_or(std::string());
    if (name.size() > kMaxNameBytes) {
        CutToCharacter(name, kMaxNameBytes);
        name.erase(name.find_last_not_of(' ') + 1);
    }
    return name;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
    return !word.empty() && text.size() >= word.size() &&
           EqualIgnoringCase(text.substr(0, word.size()), word) &&
           (text.size() == word.size() || text[word.size()] == ' ');
}

// "NIKON CORPORATION" and "NIKON D850" give "NIKON D850", as "Canon" and "Canon EOS R6" give
// "Canon EOS R6".
std::string Camera(const StoredShooting& stored) {
    const std::string make = Name(stored.make);
    const std::string model = Name(stored.model);
    if (make.empty()) return model;
    if (model.empty()) return make;
    if (StartsWithWord(model, make) || StartsWithWord(model, make.substr(0, make.find(' '))))
        return model;
    return make + " " + model;
}

std::optional<double> Positive(const std::optional<Ratio>& ratio) {
    if (!ratio || ratio->numerator <= 0 || ratio->denominator <= 0) return std::nullopt;
    return static_cast<double>(ratio->numerator) / static_cast<double>(ratio->denominator);
}

// To one decimal, without a trailing ".0".
std::string Decimal(double value) {
    const long long tenths = std::llround(value * 10);
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text.append(1, '.').append(std::to_string(tenths % 10));
    return text;
}

// Cameras write short times as 1/N, and from a quarter of a second on as tenths ("0.6").
std::string ExposureTime(const Ratio& ratio, double seconds) {
    const long long common = std::gcd(ratio.numerator, ratio.denominator);
    if (seconds >= 1 || (seconds >= 0.25 && ratio.numerator / common != 1))
        return Decimal(seconds) + " s";
    return "1/" + std::to_string(std::llround(1 / seconds)) + " s";
}

std::string Exposure(const StoredShooting& stored) {
    std::vector<std::string> parts;
    if (const std::optional<double> seconds = Positive(stored.exposureTime))
        parts.push_back(ExposureTime(*stored.exposureTime, *seconds));
    if (const std::optional<double> f = Positive(stored.fNumber); f && *f >= 0.05)
        parts.push_back("f/" + Decimal(*f));
    if (stored.iso && *stored.iso > 0) parts.push_back("ISO " + std::to_string(*stored.iso));
    if (const std::optional<double> mm = Positive(stored.focalLength); mm && *mm >= 0.05)
        parts.push_back(Decimal(*mm) + " mm");
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += " \u00b7 ";
        text += part;
    }
    return text;
}

}  // namespace

ShootingData DescribeShooting(const StoredShooting& stored, std::string dateTaken) {
    return {std::move(dateTaken), Camera(stored), Name(stored.lens), Exposure(stored)};
}

}  // namespace vistello
