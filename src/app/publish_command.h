#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "files/file_ops.h"
#include "media/publish_link.h"

namespace vistello {

// What the command line and the environment give a publish beyond its project.
struct PublishContext {
    bool dryRun = false;
    bool allowRemovals = false;
    // A file whose first line is the password or the S3 secret key.
    std::string passwordFile;
    // A host key the user trusts though known_hosts does not name it.
    std::string hostKey;
    // Where this machine keeps what it published; see PublishRequest.
    std::string manifestFolder;
    // The ssh folder, agent and certificates of this machine (see MachineAccess).
    ServerAccess machine;
    // S3's usual variables.
    std::string accessKey;
    std::string secretKey;
    // A one-line count of files and bytes on err, rewriting itself, for a terminal.
    bool showProgress = false;
    std::function<bool()> stopAsked;
};

// Publishes the site generated in the output folder of a project (the one named, or the one
// vistello.ini names) to the server its PUBLISH= line names. Lists what it would do for a dry
// run. Ends with a summary line on out; every failure is a line on err. Returns 0 only when the
// server holds the site, else 1.
int RunPublishCommand(FileOps& ops, PublishLink& link, const std::string& projectFile,
                      const PublishContext& context, std::ostream& out, std::ostream& err);

}  // namespace vistello
