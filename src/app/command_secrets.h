#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "media/publish_link.h"
#include "private/album_secret.h"

namespace vistello {

// Where a Generate on the command line finds each private album's secret: the keyring's, where
// one answers, else the password given. An album with neither is named on err, with what to give;
// the site leaves it out, which fails the run. The keyring is only read: what a script was given
// is not kept for later runs.
SecretSource CommandSecrets(Keyring* keyring, std::optional<std::string> password,
                            std::ostream& err);

}  // namespace vistello
