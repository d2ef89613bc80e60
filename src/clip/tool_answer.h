#pragma once

#include <chrono>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "clip/child_process.h"

namespace vistello {

// What ffprobe answered of a file, read as JSON, which escapes every value: a title cannot
// break a line or pass for another key.
struct ProbeAnswer {
    ChildResult run;
    // Null when ffprobe failed or its answer is no JSON object.
    nlohmann::json json;

    bool Read() const { return run.Succeeded() && json.is_object(); }
};

// ffprobe asked for `entries` (as -show_entries takes them) of what it is given as descriptor 3,
// read by the demuxer named; ended at once when `going`, asked as it runs, answers false.
ProbeAnswer Probe(int fd, std::string_view container, std::string_view entries,
                  const std::function<bool()>& going = {},
                  std::chrono::milliseconds deadline = std::chrono::seconds(30));

// ffprobe's answer read from text; null when it is no JSON object.
nlohmann::json ParseAnswer(std::string_view text);

// The value under `key` of a JSON object as text, numbers written as JSON writes them; empty when
// there is none.
std::string TextAt(const nlohmann::json& object, std::string_view key);

// The JSON under `key`, or an empty one.
const nlohmann::json& At(const nlohmann::json& object, std::string_view key);

// A number of ffprobe's answer ("12.345" or 12.345); nothing when it is none.
std::optional<double> NumberAt(const nlohmann::json& object, std::string_view key);

}  // namespace vistello
