#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

// The fields of a line of the output folder's record: tab-separated, each percent-encoded where it
// holds a byte that would break the line, so that any path reads back as it was.
// Into `fields`, which keeps its room from line to line.
void RecordFields(std::string_view line, std::vector<std::string_view>& fields);
// Hands `take` the fields of each line of a record's text in turn.
void ForEachRecordLine(std::string_view text,
                       const std::function<void(const std::vector<std::string_view>&)>& take);
void AppendRecordField(std::string& text, std::string_view value);
void AppendRecordNumber(std::string& text, long long value);
void AppendRecordTime(std::string& text, const struct timespec& time);

// 0 for a field that is not a number.
long long RecordNumber(std::string_view field);
struct timespec RecordTime(std::string_view seconds, std::string_view nanoseconds);

inline bool SameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace vistello
