#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vistello {

// What opens a private album: its random key (32 bytes, empty where this machine does not know
// it yet) and the password that wraps it for its readers.
struct AlbumSecret {
    std::string key;
    std::string password;
    bool operator==(const AlbumSecret&) const = default;
};

// Asked once per private album before it is made, with its project and its title: the keyring's
// secret, else the password given or typed (key empty); nothing leaves the album out.
using SecretSource = std::function<std::optional<AlbumSecret>(const std::string& projectFile,
                                                              const std::string& title)>;

// Told the whole secret of a private album once it is made, so that the keyring can keep a key
// that was new or read back from the album as published.
using SecretKept = std::function<void(const std::string& projectFile, const AlbumSecret& secret)>;

}  // namespace vistello
