#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "media/date_taken.h"
#include "media/shooting_data.h"
#include "media/stored_text.h"

namespace vistello {

// What a photo says of itself, ready for the page fields: UTF-8, one line each, empty where the
// photo says nothing.
struct PhotoDetails {
    PhotoDetails() = default;
    PhotoDetails(std::string title_, std::string description_, std::string keywords_,
                 std::string alt_, std::optional<TakenAt> takenAt_ = std::nullopt,
                 ShootingData shooting_ = {})
        : title(std::move(title_)),
          description(std::move(description_)),
          keywords(std::move(keywords_)),
          alt(std::move(alt_)),
          takenAt(takenAt_),
          shooting(std::move(shooting_)) {}

    std::string title;
    std::string description;
    std::string keywords;
    std::string alt;
    // Nothing when the photo does not say.
    std::optional<TakenAt> takenAt;
    ShootingData shooting;

    bool operator==(const PhotoDetails&) const = default;
};

// Every place a field may come from, in order of precedence; a place may hold several values
// (keywords, or a title in several languages, the one to prefer first).
using StoredSources = std::vector<std::vector<StoredText>>;

struct StoredDetails {
    StoredSources title;
    StoredSources description;
    StoredSources keywords;
    StoredSources alt;
};

// The first place that holds a usable value wins: made UTF-8, control characters and line ends
// as spaces, trimmed. Text that is not what its encoding promises, a camera's placeholder
// ("OLYMPUS DIGITAL CAMERA") and a value too long for a page field count as nothing. Keywords
// take every value of the first place that has one, in order, each once, joined with ", ".
PhotoDetails ChooseDetails(const StoredDetails& stored);

}  // namespace vistello
