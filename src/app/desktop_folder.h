#pragma once

#include <optional>
#include <string>

namespace vistello {

// Where a start from the desktop keeps the user's files: $XDG_DATA_HOME/vistello, or
// $HOME/.local/share/vistello when XDG_DATA_HOME is unset, empty or not absolute. Nothing when
// HOME is needed and is not an absolute path either.
std::optional<std::string> DesktopFolder(const char* xdgDataHome, const char* home);

// Where this machine notes where projects are (see ProjectPlaces): in $XDG_STATE_HOME/vistello, or
// $HOME/.local/state/vistello; empty when neither is an absolute path.
std::string PlacesFile(const char* xdgStateHome, const char* home);

// The desktop's cache folder, which holds the shared thumbnail cache: $XDG_CACHE_HOME, or
// $HOME/.cache; nothing when neither is an absolute path.
std::optional<std::string> CacheHome(const char* xdgCacheHome, const char* home);

// Makes the folder the current directory, first creating it and any missing parents, readable
// by the user alone. On first start, when the folder is not there yet and `demo` is a folder, the
// new folder starts as a copy of it, whole or not at all: empty when the copy fails. Nothing on
// success; otherwise the reason, and the current directory is unchanged.
std::optional<std::string> EnterFolder(const std::string& folder, const std::string& demo = {});

}  // namespace vistello
