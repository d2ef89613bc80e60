#pragma once

#include <optional>
#include <string>

#include "media/date_taken.h"

namespace vistello {

// What a clip says of itself: UTF-8, one line, empty where it says nothing.
struct ClipDetails {
    std::string title;
    // Nothing when the clip does not say.
    std::optional<TakenAt> recordedAt;
    // When it was recorded as a person reads it, "2026-05-14 18:32".
    std::string recordedText;

    bool operator==(const ClipDetails&) const = default;
};

// Reads what phones and cameras record in a clip.
class ClipReader {
public:
    virtual ~ClipReader() = default;
    // Nothing when the file cannot be read as a clip; details, maybe empty, otherwise.
    virtual std::optional<ClipDetails> Read(const std::string& path) = 0;
};

}  // namespace vistello
