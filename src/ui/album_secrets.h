#pragma once

#include <map>
#include <optional>
#include <string>

#include "media/publish_link.h"
#include "private/album_secret.h"

namespace vistello {

class WindowHost;
class WindowSystem;

// Where a Generate in the window finds the secrets of private albums: the keyring's, else the
// password the user types, once an album. The keyring keeps a secret once the album is made, for
// each album whose secret came from it or whose password the user let it remember.
class WindowAlbumSecrets {
public:
    // Without a keyring every album is asked for. `keyringFailureTold` is set once the user has
    // heard that the keyring cannot keep a password.
    WindowAlbumSecrets(WindowSystem& system, WindowHost& owner, Keyring* keyring,
                       bool& keyringFailureTold);

    // Nothing when the user cancels, or leaves the password empty: the album is left out.
    std::optional<AlbumSecret> For(const std::string& projectFile, const std::string& title);
    void Kept(const std::string& projectFile, const AlbumSecret& secret);

private:
    // An album the keyring is to keep: its label there, and what the keyring holds for it now.
    struct Keeping {
        std::string label;
        std::string held;
    };

    WindowSystem& m_system;
    WindowHost& m_owner;
    Keyring* m_keyring;
    bool& m_keyringFailureTold;
    std::map<std::string, Keeping> m_keeping;
};

}  // namespace vistello
