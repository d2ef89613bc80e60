#include "app/publish_command.h"

#include <cerrno>
#include <optional>

#include "app/command_project.h"
#include "app/password_file.h"
#include "files/error_text.h"
#include "files/text_file.h"
#include "project/project_file.h"
#include "publish/site_publisher.h"
#include "slides/entry_list.h"
#include "text/visible_controls.h"

namespace vistello {

namespace {

using Outcome = PublishReport::Outcome;

// Names come from the site's files, reasons from the server: a control character in either would
// work the terminal rather than be read.
std::string Shown(std::string_view text) { return WithVisibleControls(text); }

bool FillAccess(FileOps& ops, const PublishContext& context, const PublishTarget& target,
                ServerAccess& access, std::ostream& err) {
    access = context.machine;
    access.acceptedFingerprint = context.hostKey;
    // S3's variables are for S3 alone: any other server would be handed the secret as a password,
    // in plain text over FTP or http.
    if (target.protocol == PublishProtocol::S3) {
        access.password = context.secretKey;
        access.accessKey = target.user.empty() ? context.accessKey : target.user;
    }
    if (context.passwordFile.empty()) return true;
    const std::optional<std::string> password = ReadPasswordFile(ops, context.passwordFile);
    if (!password) {
        err << "vistello: cannot read the password file " << context.passwordFile << ": "
            << ErrorText(errno) << "\n";
        return false;
    }
    access.password = *password;
    return true;
}

void PrintFailure(const PublishReport& report, const PublishTarget& target, std::ostream& err) {
    const ServerAnswer& failure = report.failure;
    switch (failure.kind) {
        case ServerAnswer::Kind::HostUnknown:
            err << "vistello: " << target.host << " is not in known_hosts; its key is "
                << failure.fingerprint << "; to trust it, run again with --accept-host-key "
                << failure.fingerprint << "\n";
            return;
        case ServerAnswer::Kind::HostChanged:
            err << "vistello: the key of " << target.host
                << " is not the one known_hosts has: someone may be in the way; its key is now "
                << failure.fingerprint << "; only if you know why it changed, run again with "
                << "--accept-host-key " << failure.fingerprint << "\n";
            return;
        default:
            err << "vistello: cannot publish to " << Shown(target.address) << ": "
                << Shown(failure.reason);
            if (!report.failedName.empty()) err << " (" << Shown(report.failedName) << ")";
            err << "\n";
    }
}

int Report(const PublishReport& report, const PublishTarget& target, bool dryRun, std::ostream& out,
           std::ostream& err) {
    if (dryRun && report.outcome == Outcome::Published) {
        for (const std::string& name : report.toSend) out << "send " << Shown(name) << "\n";
        for (const std::string& name : report.toRemove) out << "remove " << Shown(name) << "\n";
        out << "Would publish " << report.toSend.size() << " files ("
            << Megabytes(report.toSendBytes) << " MB), remove " << report.toRemove.size() << ", "
            << report.unchanged << " unchanged\n";
        return 0;
    }
    switch (report.outcome) {
        case Outcome::Published:
            out << PublishSummary(report) << "\n";
            return 0;
        case Outcome::RemovalsAsked:
            err << "vistello: publishing would remove " << report.toRemove.size() << " of "
                << report.siteFiles << " files from the server; nothing was sent; to remove "
                << "them, run again with --allow-removals\n";
            return 1;
        case Outcome::Stopped:
            err << "vistello: publishing stopped; what was sent is noted\n";
            break;
        case Outcome::Failed:
            PrintFailure(report, target, err);
            break;
        case Outcome::Differs:
            for (const std::string& line : report.differences)
                err << "vistello: " << Shown(line) << "\n";
            err << "vistello: the server does not hold the site as it was sent\n";
            break;
    }
    out << PublishSummary(report) << "\n";
    return 1;
}

}  // namespace

int RunPublishCommand(FileOps& ops, PublishLink& link, const std::string& projectFile,
                      const PublishContext& context, std::ostream& out, std::ostream& err) {
    const std::string fileName = CommandProjectFile(projectFile, ReadCommandPreferences(ops));
    ProjectFields fields;
    EntryList list;
    if (!ReadCommandProject(ops, fileName, fields, list, err)) return 1;
    if (fields.web.publish.empty()) {
        err << "vistello: " << fileName << " names no server to publish to (PUBLISH=)\n";
        return 1;
    }
    std::string failure;
    const std::optional<PublishTarget> target = ParsePublishTarget(fields.web.publish, failure);
    if (!target) {
        err << "vistello: cannot publish to " << Shown(fields.web.publish) << ": " << failure
            << "\n";
        return 1;
    }
    PublishRequest request;
    request.outputFolder = fields.outputFolder;
    while (request.outputFolder.size() > 1 && request.outputFolder.back() == '/')
        request.outputFolder.pop_back();
    if (request.outputFolder.empty()) request.outputFolder.assign(1, '.');
    request.target = *target;
    request.manifestFolder = context.manifestFolder;
    request.dryRun = context.dryRun;
    request.allowRemovals = context.allowRemovals;
    if (!FillAccess(ops, context, *target, request.access, err)) return 1;
    const PublishReport report = PublishSite(request, link, ops, [&](const PublishStatus& status) {
        if (context.showProgress && status.filesTotal > 0)
            err << "\r\x1b[KSent " << status.filesDone << " of " << status.filesTotal << " files, "
                << Megabytes(status.bytesDone) << " of " << Megabytes(status.bytesTotal) << " MB"
                << std::flush;
        return !context.stopAsked || !context.stopAsked();
    });
    if (context.showProgress) err << "\r\x1b[K" << std::flush;
    return Report(report, *target, context.dryRun, out, err);
}

}  // namespace vistello
