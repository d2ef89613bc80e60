#include "text/counts.h"

namespace vistello {

std::string GroupThousands(long long number) {
    const std::string digits = std::to_string(number);
    const size_t sign = number < 0 ? 1 : 0;
    std::string grouped = digits.substr(0, sign);
    for (size_t at = sign; at < digits.size(); ++at) {
        if (at > sign && (digits.size() - at) % 3 == 0) grouped += ',';
        grouped += digits[at];
    }
    return grouped;
}

std::string CountOf(long long count, std::string_view noun) {
    std::string text = std::to_string(count);
    text.append(" ").append(noun);
    if (count != 1) text += 's';
    return text;
}

}  // namespace vistello
