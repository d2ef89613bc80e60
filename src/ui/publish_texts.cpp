#include "ui/publish_texts.h"

#include <cctype>
#include <cstdint>
#include <vector>

#include "text/counts.h"

namespace vistello {

namespace {

// Enough lines to say where the server differs while the box still fits on the screen.
constexpr size_t kLinesShown = 20;
constexpr size_t kRemovalsNamed = 10;

std::string Sentence(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

// Each on its own line, at most `shown` of them, then how many more there are.
std::string Lines(const std::vector<std::string>& lines, size_t shown) {
    std::string text;
    for (size_t i = 0; i < lines.size() && i < shown; ++i) text += "\r\n" + lines[i];
    if (lines.size() > shown)
        text += "\r\nand " + GroupThousands(static_cast<long long>(lines.size() - shown)) + " more";
    return text;
}

// What kind of refusal it was, in the user's words; the server's own follow.
std::string KindText(ServerAnswer::Kind kind) {
    using Kind = ServerAnswer::Kind;
    switch (kind) {
        case Kind::Done:
            return "";
        case Kind::Missing:
            return "the server has no such file or folder";
        case Kind::HostUnknown:
            return "the server's host key is not known on this computer";
        case Kind::HostChanged:
            return "the server's host key has changed";
        case Kind::LoginRefused:
            return "the server refused the login";
        case Kind::Denied:
            return "the server refused permission";
        case Kind::Full:
            return "the server has no room left";
        case Kind::Broken:
            return "the connection could not be made or broke off";
        case Kind::Stopped:
            return "stopped";
        case Kind::Failed:
            return "";
    }
    return "";
}

// A sentence ends once: the server's own words may have ended it.
std::string Ended(std::string text) {
    if (text.empty() || (text.back() != '.' && text.back() != '!' && text.back() != '?'))
        text += '.';
    return text;
}

std::string AnswerText(const ServerAnswer& answer) {
    const std::string kind = KindText(answer.kind);
    if (kind.empty()) return answer.reason.empty() ? "the server gave no reason" : answer.reason;
    return answer.reason.empty() ? kind : kind + ": " + answer.reason;
}

}  // namespace

std::string PublishProgressLine(const PublishStatus& status) {
    if (status.filesTotal == 0) return "Comparing the site with the server";
    return GroupThousands(static_cast<long long>(status.filesDone)) + " of " +
           CountOf(static_cast<long long>(status.filesTotal), "file") + ", " +
           Megabytes(status.bytesDone) + " of " + Megabytes(status.bytesTotal) + " MB";
}

int PublishProgressDone(const PublishStatus& status) {
    const auto share = [](std::uint64_t done, std::uint64_t total) {
        if (total == 0) return 0;
        if (done >= total) return kPublishProgressSteps;
        return static_cast<int>(static_cast<double>(done) / static_cast<double>(total) *
                                kPublishProgressSteps);
    };
    if (status.bytesTotal > 0) return share(status.bytesDone, status.bytesTotal);
    return share(status.filesDone, status.filesTotal);
}

std::string ConnectionText(const ServerAnswer& answer, const std::string& address) {
    if (answer.Ok()) return "Connected to " + address + ".";
    return "Could not connect to " + address + ":\r\n" + Ended(Sentence(AnswerText(answer)));
}

std::string PublishReportText(const PublishReport& report) {
    using Outcome = PublishReport::Outcome;
    switch (report.outcome) {
        case Outcome::Published:
            return PublishSummary(report);
        case Outcome::Stopped:
            return "Publishing stopped.\r\n" + PublishSummary(report);
        case Outcome::Failed: {
            std::string text = Ended("Publishing failed: " + AnswerText(report.failure));
            if (!report.failedName.empty()) text += "\r\nFile: " + report.failedName;
            return text;
        }
        case Outcome::Differs:
            return PublishSummary(report) +
                   "\r\nBut the server's listing differs from what was sent:" +
                   Lines(report.differences, kLinesShown);
        case Outcome::RemovalsAsked:
            return "Nothing was sent.";
    }
    return PublishSummary(report);
}

std::string HostKeyQuestion(const ServerAnswer& answer, const std::string& host) {
    if (answer.kind == ServerAnswer::Kind::HostChanged) {
        return "The host key of " + host +
               " has CHANGED since this computer last connected to it.\r\n"
               "This may be an attack: another machine may be posing as your server to read "
               "what you send. It may also be that the server was set up again.\r\n\r\n"
               "The key the server shows now has the fingerprint\r\n" +
               answer.fingerprint +
               "\r\n\r\nTrust this key for this publish only? Answer No unless the server's "
               "administrator told you the key changed and gave you this fingerprint.";
    }
    return "This computer has not connected to " + host +
           " before. The server's host key has the fingerprint\r\n" + answer.fingerprint +
           "\r\n\r\nTrust it if it is the fingerprint your server's administrator gave you; it "
           "is then remembered in your known hosts. Trust this server's key?";
}

std::string RemovalsQuestion(const PublishReport& report) {
    const size_t count = report.toRemove.size();
    const char* them = count == 1 ? "it" : "them";
    return "Publishing removes " + CountOf(static_cast<long long>(count), "file") +
           " from the server: Vistello sent " + them + " there before, and the site, now " +
           CountOf(static_cast<long long>(report.siteFiles), "file") + ", no longer has " + them +
           ":" + Lines(report.toRemove, kRemovalsNamed) + "\r\n\r\nRemove " + them +
           " from the server?";
}

std::string PasswordPrompt(const PublishTarget& target, bool refused) {
    const std::string who = target.user.empty() ? target.host : target.user + " at " + target.host;
    if (target.protocol == PublishProtocol::S3) {
        return std::string(refused ? "The server refused the key. " : "") +
               "Type the S3 access key for " + target.host + ", bucket " + target.bucket + ".";
    }
    if (refused) {
        return "The server refused the login of " + who + ". Type the password" +
               (target.protocol == PublishProtocol::Sftp ? ", or your key's passphrase." : ".");
    }
    return "Type the password of " + who + ".";
}

std::string AddressRefusal(const std::string& reason) {
    return "Vistello cannot publish to this address: " + reason + ".";
}

}  // namespace vistello
