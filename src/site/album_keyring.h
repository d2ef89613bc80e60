#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "media/publish_link.h"
#include "private/album_secret.h"

namespace vistello {

// What the desktop's keyring keeps a private album's secret under: its project as an output
// folder's records know it, so that no path is a key and every way to the file finds it.
std::string AlbumKeyringKey(const std::string& projectFile);

// The secret as the keyring keeps it: the key in lower-case hex (empty while it is unknown), a
// line end, the password.
std::string AlbumKeyringText(const AlbumSecret& secret);

// Nothing unless the text is such a secret with a password: a keyring anyone may write to is
// read as no secret at all rather than trusted.
std::optional<AlbumSecret> ParseAlbumKeyringText(std::string_view text);

// The secret the keyring keeps for the album, or nothing.
std::optional<AlbumSecret> FindAlbumSecret(Keyring& keyring, const std::string& projectFile);

}  // namespace vistello
