#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_ops.h"
#include "media/publish_link.h"

namespace vistello {

// One publish of a generated site to its target.
struct PublishRequest {
    // The generated site: the project's output folder.
    std::string outputFolder;
    PublishTarget target;
    ServerAccess access;
    // Where this machine keeps what it published to each target, outside the output folder.
    std::string manifestFolder;
    // Lists what would be sent and removed, and sends nothing.
    bool dryRun = false;
    // Removes more than a tenth of the site at once without asking.
    bool allowRemovals = false;
    // Connections used at once.
    int connections = 4;
    // The wait before a broken transfer is tried again; it doubles with each try.
    int retryPauseMs = 1000;
};

// How far a publish has come, told on the thread that called PublishSite.
struct PublishStatus {
    std::size_t filesDone = 0;
    std::size_t filesTotal = 0;
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
};

// False once the user asks to stop; called at least every second while a publish runs.
using PublishProgress = std::function<bool(const PublishStatus&)>;

struct PublishReport {
    enum class Outcome {
        // The server holds the site (a dry run: the lists are made).
        Published,
        // More than a tenth of the site would be removed and the request did not allow it;
        // nothing was sent.
        RemovalsAsked,
        // The user stopped it; what was sent is noted.
        Stopped,
        // A server's refusal or a file that could not be read: `failure` says which.
        Failed,
        // Everything was sent, but the server's listing differs from what was sent:
        // `differences` says where.
        Differs,
    };
    Outcome outcome = Outcome::Published;
    std::size_t sent = 0;
    std::uint64_t sentBytes = 0;
    std::size_t removed = 0;
    std::size_t unchanged = 0;
    // What a dry run would send and remove, in the order it would; with RemovalsAsked, the
    // removals.
    std::vector<std::string> toSend;
    std::vector<std::string> toRemove;
    std::uint64_t toSendBytes = 0;
    // The site's file count, for the question about removals.
    std::size_t siteFiles = 0;
    // The server's answer that ended the publish, and the file it was about, if any.
    ServerAnswer failure;
    std::string failedName;
    // Lines naming each file the server's listing has otherwise than sent.
    std::vector<std::string> differences;
};

// Bytes as megabytes with one decimal, the same in every locale.
std::string Megabytes(std::uint64_t bytes);

// "Published N files (X MB), removed M, K unchanged".
std::string PublishSummary(const PublishReport& report);

// Sends what changed in the output folder since the server last got it, then removes what this
// target got from Vistello and the site no longer has, then checks the server's listing.
PublishReport PublishSite(const PublishRequest& request, PublishLink& link, FileOps& files,
                          const PublishProgress& progress);

// Logs in and reaches the site's folder, as a publish would, and says what the server answered.
ServerAnswer TestConnection(const PublishTarget& target, const ServerAccess& access,
                            PublishLink& link);

// The target's address taken apart; nothing, with the reason in `failure`, for an address this
// program cannot publish to.
std::optional<PublishTarget> ParsePublishTarget(std::string_view address, std::string& failure);

}  // namespace vistello
