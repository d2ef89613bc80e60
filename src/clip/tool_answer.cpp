#include "clip/tool_answer.h"

#include <charconv>

#include "clip/clip_source.h"

namespace vistello {

ProbeAnswer Probe(int fd, std::string_view container, std::string_view entries,
                  const std::function<bool()>& going, std::chrono::milliseconds deadline) {
    ChildCall call;
    call.args = {"ffprobe", "-v", "error", "-show_entries", std::string(entries), "-of", "json"};
    for (std::string& arg : InputArguments(container, 3)) call.args.push_back(std::move(arg));
    call.fds = {fd};
    call.deadline = deadline;
    if (going) call.keepGoing = [&going](std::string_view) { return going(); };
    ProbeAnswer answer;
    answer.run = RunChild(call);
    if (answer.run.Succeeded()) answer.json = ParseAnswer(answer.run.out);
    return answer;
}

nlohmann::json ParseAnswer(std::string_view text) {
    nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    return json.is_object() ? json : nlohmann::json();
}

const nlohmann::json& At(const nlohmann::json& object, std::string_view key) {
    static const nlohmann::json none;
    if (!object.is_object()) return none;
    const auto found = object.find(std::string(key));
    return found == object.end() ? none : *found;
}

std::string TextAt(const nlohmann::json& object, std::string_view key) {
    const nlohmann::json& value = At(object, key);
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number()) return value.dump();
    return {};
}

std::optional<double> NumberAt(const nlohmann::json& object, std::string_view key) {
    const std::string text = TextAt(object, key);
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

}  // namespace vistello
