#pragma once

#include <optional>
#include <string>

#include "media/stored_text.h"

namespace vistello {

// A value as EXIF keeps it: a numerator over a denominator, either of which may be 0 in a
// damaged or careless file.
struct Ratio {
    long long numerator = 0;
    long long denominator = 0;
};

// What a camera records of how it took a photo, as stored.
struct StoredShooting {
    StoredText make;
    StoredText model;
    StoredText lens;
    std::optional<Ratio> exposureTime;
    std::optional<Ratio> fNumber;
    std::optional<Ratio> focalLength;
    std::optional<long long> iso;
};

// When and how a photo was taken, as pages show it: one line of UTF-8 each, empty where the photo
// does not say. Where it was taken is never among them.
struct ShootingData {
    // The photo's own clock: "2026-05-14 18:32".
    std::string dateTaken;
    // "Canon EOS R6".
    std::string camera;
    std::string lens;
    // "1/250 s · f/8 · ISO 100 · 35 mm", what is known of it.
    std::string exposure;

    bool operator==(const ShootingData&) const = default;
};

// Values that are missing, 0, negative or without a denominator are left out; the make is not
// repeated when the model already starts with it; a name too long for a caption is cut.
ShootingData DescribeShooting(const StoredShooting& stored, std::string dateTaken);

}  // namespace vistello
