#pragma once

#include <string>

#include "media/publish_link.h"

namespace vistello {

// Where this machine keeps what it published to each target: $XDG_STATE_HOME/vistello/published,
// or $HOME/.local/state/vistello/published; empty when neither is an absolute path.
std::string PublishedFolder(const char* xdgStateHome, const char* home);

// What this machine offers every login, no secret among it: the user's ssh folder ($HOME/.ssh),
// the ssh agent's socket ($SSH_AUTH_SOCK) and a file of certificates trusted besides the system's
// ($SSL_CERT_FILE). What is not set, or not an absolute path, stays empty.
ServerAccess MachineAccess(const char* home, const char* agentSocket, const char* caFile);

}  // namespace vistello
