#pragma once

#include <map>
#include <optional>
#include <string>

#include "files/file_ops.h"
#include "output/owned_files.h"

namespace vistello {

// What the last seal of a private album wrote, kept in its staging folder, never beside what it
// wrote: a record there would tell what the album holds.
struct SealRecord {
    static constexpr std::string_view kFileName = ".vistello-sealed";

    // One file of the sealed folder: how it stood once written, and for a blob how the staging
    // file it was made from stood then.
    struct Sealed {
        WrittenMark written;
        std::optional<WrittenMark> source;
    };

    // The sealed folder, from the root; the name the key gives a folder, which tells one key from
    // another; and the mark of the key file as found to open under the password.
    std::string target;
    std::string keyName;
    std::string keyCheck;
    // By name in the sealed folder.
    std::map<std::string, Sealed> files;

    // The record of the staging folder; empty when there is none or it is damaged.
    static SealRecord Read(FileOps& ops, const std::string& staging);
    [[nodiscard]] bool Write(FileOps& ops, const std::string& staging) const;
};

}  // namespace vistello
