#pragma once

#include <string>

namespace vistello {

// A long command's progress as the user sees it, with a way for the user to ask it to stop. It
// goes away when destroyed.
class Progress {
public:
    virtual ~Progress() = default;

    // `done` of the total are finished; false once the user has asked to stop.
    [[nodiscard]] virtual bool Step(int done) = 0;
    // As Step, with how far the next one, under way, has come, in percent.
    [[nodiscard]] virtual bool StepWithin(int done, int percent) {
        static_cast<void>(percent);
        return Step(done);
    }
    // As Step, with a line of its own in place of the count ("12 of 340 files, 3.4 of 51.0 MB").
    [[nodiscard]] virtual bool StepWithText(int done, const std::string& line) {
        static_cast<void>(line);
        return Step(done);
    }
};

}  // namespace vistello
