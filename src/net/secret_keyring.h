#pragma once

#include <optional>
#include <string>

#include "media/publish_link.h"

namespace vistello {

// The desktop's Secret Service, by way of its client library. Every call gives up after a few
// seconds, so a desktop without a keyring, or one that does not answer, never holds the program.
class SecretKeyring final : public Keyring {
public:
    std::optional<std::string> Find(const std::string& key) override;
    bool Keep(const std::string& key, const std::string& label, const std::string& secret,
              std::string& failure) override;
    void Forget(const std::string& key) override;
};

}  // namespace vistello
