#include "media/date_taken.h"

#include <algorithm>
#include <chrono>
#include <tuple>

namespace vistello {

namespace {

// Reads exactly `digits` decimal digits from the front of text.
bool Number(std::string_view& text, size_t digits, int& value) {
    if (text.size() < digits) return false;
    value = 0;
    for (size_t i = 0; i < digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(digits);
    return true;
}

bool Skip(std::string_view& text, char separator) {
    if (text.empty() || text.front() != separator) return false;
    text.remove_prefix(1);
    return true;
}

// Digits after the decimal point, as milliseconds; any length, any digits past the third ignored.
std::optional<int> Milliseconds(std::string_view digits) {
    int value = 0;
    int scale = 100;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value += (c - '0') * scale;
        scale /= 10;
    }
    return value;
}

// "Z", "+02:00", "+0200" or "-05"; minutes east of UTC.
std::optional<int> OffsetMinutes(std::string_view text) {
    if (text == "Z") return 0;
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return std::nullopt;
    const int sign = text.front() == '-' ? -1 : 1;
    text.remove_prefix(1);
    int hours = 0;
    int minutes = 0;
    if (!Number(text, 2, hours)) return std::nullopt;
    Skip(text, ':');
    if (!text.empty() && !Number(text, 2, minutes)) return std::nullopt;
    if (!text.empty() || hours > 23 || minutes > 59) return std::nullopt;
    return sign * (hours * 60 + minutes);
}

struct Clock {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

std::optional<TakenAt> At(const Clock& clock, int offsetMinutes) {
    using namespace std::chrono;
    const year_month_day date{year{clock.year}, month{static_cast<unsigned>(clock.month)},
                              day{static_cast<unsigned>(clock.day)}};
    if (clock.year < 1 || !date.ok() || clock.hour > 23 || clock.minute > 59 || clock.second > 60)
        return std::nullopt;
    const sys_days days{date};
    const auto time = days + hours{clock.hour} + minutes{clock.minute - offsetMinutes} +
                      seconds{clock.second} + milliseconds{clock.millisecond};
    return time_point_cast<milliseconds>(time).time_since_epoch().count();
}

// "18:32", "18:32:10" or "18:32:10.25", followed by what is left.
bool TimeOfDay(std::string_view& text, Clock& clock) {
    if (!Number(text, 2, clock.hour) || !Skip(text, ':') || !Number(text, 2, clock.minute))
        return false;
    if (!Skip(text, ':')) return true;
    if (!Number(text, 2, clock.second)) return false;
    if (!Skip(text, '.')) return true;
    const size_t end = text.find_first_not_of("0123456789");
    const std::optional<int> fraction = Milliseconds(text.substr(0, end));
    if (!fraction) return false;
    clock.millisecond = *fraction;
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    return true;
}

// Stored text often ends in NUL bytes or spaces.
std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<TakenAt> ExifTakenAt(std::string_view dateTime, std::string_view offset,
                                   std::string_view subSeconds) {
    Clock clock;
    if (!Number(dateTime, 4, clock.year) || !Skip(dateTime, ':') ||
        !Number(dateTime, 2, clock.month) || !Skip(dateTime, ':') ||
        !Number(dateTime, 2, clock.day) || !Skip(dateTime, ' ') ||
        !Number(dateTime, 2, clock.hour) || !Skip(dateTime, ':') ||
        !Number(dateTime, 2, clock.minute) || !Skip(dateTime, ':') ||
        !Number(dateTime, 2, clock.second))
        return std::nullopt;
    clock.millisecond = Milliseconds(Trimmed(subSeconds)).value_or(0);
    return At(clock, OffsetMinutes(Trimmed(offset)).value_or(0));
}

std::optional<TakenAt> IsoTakenAt(std::string_view text) {
    Clock clock;
    if (!Number(text, 4, clock.year) || !Skip(text, '-') || !Number(text, 2, clock.month) ||
        !Skip(text, '-') || !Number(text, 2, clock.day))
        return std::nullopt;
    if (text.empty()) return At(clock, 0);
    if (!Skip(text, 'T') || !TimeOfDay(text, clock)) return std::nullopt;
    if (text.empty()) return At(clock, 0);
    const std::optional<int> offset = OffsetMinutes(text);
    if (!offset) return std::nullopt;
    return At(clock, *offset);
}

std::string LocalTakenText(std::string_view dateTime) {
    if (dateTime.size() < 10) return {};
    std::string text(dateTime.substr(0, 10));
    text[4] = text[7] = '-';
    if (dateTime.size() >= 16) text.append(1, ' ').append(dateTime.substr(11, 5));
    return text;
}

// The keys are sorted side by side, each with its place, so that a large album is not searched
// for its times at every comparison; the place breaks ties, which keeps the sort stable.
std::vector<size_t> OldestFirst(const std::vector<std::optional<TakenAt>>& takenAt) {
    struct Key {
        bool undated;
        TakenAt at;
        size_t place;
        bool operator<(const Key& other) const {
            return std::tie(undated, at, place) < std::tie(other.undated, other.at, other.place);
        }
    };
    std::vector<Key> keys;
    keys.reserve(takenAt.size());
    for (size_t place = 0; place < takenAt.size(); ++place)
        keys.push_back({!takenAt[place], takenAt[place].value_or(0), place});
    std::sort(keys.begin(), keys.end());
    std::vector<size_t> order;
    order.reserve(keys.size());
    for (const Key& key : keys) order.push_back(key.place);
    return order;
}

}  // namespace vistello
