#include "app/command_secrets.h"

#include <utility>

#include "site/album_keyring.h"
#include "text/visible_controls.h"

namespace vistello {

SecretSource CommandSecrets(Keyring* keyring, std::optional<std::string> password,
                            std::ostream& err) {
    return [keyring, password = std::move(password), &err](
               const std::string& projectFile,
               const std::string& title) -> std::optional<AlbumSecret> {
        if (keyring != nullptr) {
            if (std::optional<AlbumSecret> secret = FindAlbumSecret(*keyring, projectFile))
                return secret;
        }
        if (password) return AlbumSecret{"", *password};
        err << "vistello: private album " << WithVisibleControls(title) << " ("
            << WithVisibleControls(projectFile)
            << ") needs a password: give --album-password-file\n";
        return std::nullopt;
    };
}

}  // namespace vistello
