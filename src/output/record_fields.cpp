#include "output/record_fields.h"

#include <algorithm>
#include <charconv>

#include "text/percent_encoding.h"

namespace vistello {

namespace {

bool Plain(unsigned char byte) { return byte > ' ' && byte != '%' && byte != 0x7F; }

}  // namespace

void RecordFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return;
        start = tab + 1;
    }
}

void ForEachRecordLine(std::string_view text,
                       const std::function<void(const std::vector<std::string_view>&)>& take) {
    std::vector<std::string_view> fields;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        RecordFields(text.substr(start, end - start), fields);
        take(fields);
        start = end + 1;
    }
}

// Most values need no encoding, and then no copy either.
void AppendRecordField(std::string& text, std::string_view value) {
    text.append(1, '\t');
    if (std::all_of(value.begin(), value.end(),
                    [](char c) { return Plain(static_cast<unsigned char>(c)); })) {
        text.append(value);
    } else {
        text.append(PercentEncode(value, Plain));
    }
}

void AppendRecordNumber(std::string& text, long long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(1, '\t').append(digits, end);
}

void AppendRecordTime(std::string& text, const struct timespec& time) {
    AppendRecordNumber(text, time.tv_sec);
    AppendRecordNumber(text, time.tv_nsec);
}

long long RecordNumber(std::string_view field) {
    long long number = 0;
    std::from_chars(field.data(), field.data() + field.size(), number);
    return number;
}

struct timespec RecordTime(std::string_view seconds, std::string_view nanoseconds) {
    struct timespec time {};
    time.tv_sec = static_cast<time_t>(RecordNumber(seconds));
    time.tv_nsec = static_cast<long>(RecordNumber(nanoseconds));
    return time;
}

}  // namespace vistello
