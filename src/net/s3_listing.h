#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/listed_entry.h"

namespace vistello {

// One page of an S3 ListObjectsV2 answer.
struct S3Page {
    // Every object's key, whole, and its size.
    std::vector<ListedEntry> objects;
    // Where the next page starts; "" on the last page.
    std::string nextToken;
};

// Nothing when the answer is not such XML, or says there is more without saying where.
std::optional<S3Page> ParseS3Page(std::string_view xml);

// What an S3 error answer says: its code ("NoSuchKey") and message.
struct S3Error {
    std::string code;
    std::string message;
};

// Empty fields when the text is no such answer.
S3Error ParseS3Error(std::string_view xml);

}  // namespace vistello
