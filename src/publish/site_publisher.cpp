#include "publish/site_publisher.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <thread>

#include "files/error_text.h"
#include "files/file_stamp.h"
#include "files/text_file.h"
#include "output/made_files.h"
#include "publish/publish_manifest.h"
#include "publish/publish_plan.h"
#include "publish/server_check.h"
#include "publish/site_sums.h"
#include "publish/transfer_crew.h"

namespace vistello {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kManifestEvery = std::chrono::seconds(2);
constexpr auto kTellEvery = std::chrono::milliseconds(100);
constexpr int kLoginTries = 4;
constexpr double kRemovalShare = 0.1;

}  // namespace

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%llu", static_cast<unsigned long long>(bytes / 1000000),
                  static_cast<unsigned long long>(bytes % 1000000 / 100000));
    return text;
}

namespace {

ServerAnswer Failure(std::string reason) {
    return {ServerAnswer::Kind::Failed, std::move(reason), {}};
}

class SitePublish {
public:
    SitePublish(const PublishRequest& request, PublishLink& link, FileOps& files,
                const PublishProgress& progress)
        : m_request(request),
          m_link(link),
          m_files(files),
          m_progress(progress),
          m_manifestPath(LocalManifestPath(request.manifestFolder, request.target.address)) {}

    PublishReport Run() {
        // The login takes its time on the server's side: the site is read meanwhile.
        m_server = m_link.Connect(m_request.target, m_request.access, m_stop);
        auto opened = std::async(std::launch::async, [this] { return m_server->Open(); });
        const bool read = ReadSite();
        if (!read) m_stop = true;
        if (!Opened(opened) || !read || !ReadServer()) return Ended();
        const PublishPlan plan = MakePublishPlan(m_site, m_known, m_ours);
        NoteLists(plan);
        m_report.unchanged = plan.unchanged;
        if (m_request.dryRun) return m_report;
        if (TooManyRemovals(plan)) {
            m_report.outcome = PublishReport::Outcome::RemovalsAsked;
            return m_report;
        }
        m_status.filesTotal = plan.sendCount + plan.removals.size();
        m_status.bytesTotal = plan.sendBytes;
        if (!SendAll(plan) || !RemoveAll(plan.removals) || !WriteServerManifest()) return Ended();
        Check();
        return Ended();
    }

private:
    bool Fail(ServerAnswer answer, std::string name = {}) {
        if (answer.kind == ServerAnswer::Kind::Stopped) {
            m_report.outcome = PublishReport::Outcome::Stopped;
        } else {
            m_report.outcome = PublishReport::Outcome::Failed;
        }
        m_report.failure = std::move(answer);
        m_report.failedName = std::move(name);
        return false;
    }

    PublishReport Ended() {
        if (m_touched || m_summed) WriteLocalManifest();
        return m_report;
    }

    bool Tell(std::uint64_t underWay = 0) {
        PublishStatus status = m_status;
        status.bytesDone += underWay;
        if (!m_progress(status)) m_stop = true;
        return !m_stop;
    }

    // Files are read for their sums block by block: the user hears of it every tenth of a
    // second.
    bool TellNowAndThen() {
        const Clock::time_point now = Clock::now();
        if (now - m_lastTold < kTellEvery) return !m_stop;
        m_lastTold = now;
        return Tell();
    }

    // A request of the server this thread waits for, while the user still sees the progress
    // and may stop it: the server hears the stop within a second.
    template <typename Call>
    auto Await(Call&& call) {
        auto answer = std::async(std::launch::async, std::forward<Call>(call));
        return Wait(answer);
    }

    template <typename Answer>
    Answer Wait(std::future<Answer>& answer) {
        while (answer.wait_for(kTellEvery) != std::future_status::ready) Tell();
        return answer.get();
    }

    bool ReadSite() {
        struct stat info {};
        const std::string record = m_request.outputFolder + "/" + std::string(MadeFiles::kFileName);
        if (m_files.Lstat(record, info) != 0)
            return Fail(Failure("no site has been generated in " + m_request.outputFolder));
        if (auto text = ReadLineFile(m_files, m_manifestPath)) m_local = ParseLocalManifest(*text);
        std::string failure;
        if (!ListSiteFiles(m_files, m_request.outputFolder, m_site, failure))
            return Fail(Failure(failure));
        const bool summed = SumSiteFiles(
            m_files, m_link, m_request.outputFolder, m_local, m_site,
            [this](std::uint64_t) {
                m_summed = true;
                return TellNowAndThen();
            },
            failure);
        if (!summed)
            return Fail(failure.empty() ? ServerAnswer{ServerAnswer::Kind::Stopped, "stopped", {}}
                                        : Failure(failure));
        m_report.siteFiles = m_site.size();
        return true;
    }

    // A login the connection broke is tried again as a transfer is, waiting longer each time.
    bool Opened(std::future<ServerAnswer>& opening) {
        ServerAnswer opened = Wait(opening);
        int pause = m_request.retryPauseMs;
        for (int retry = 1; opened.kind == ServerAnswer::Kind::Broken && retry < kLoginTries;
             ++retry, pause *= 2) {
            if (!PauseTelling(pause)) break;
            m_server = m_link.Connect(m_request.target, m_request.access, m_stop);
            opened = Await([this] { return m_server->Open(); });
        }
        return opened.Ok() || m_report.outcome != PublishReport::Outcome::Published ||
               Fail(std::move(opened));
    }

    // False when the user stopped the wait.
    bool PauseTelling(int milliseconds) {
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(milliseconds);
        while (Clock::now() < end) {
            if (!Tell()) return false;
            std::this_thread::sleep_for(std::min<Clock::duration>(kTellEvery, end - Clock::now()));
        }
        return true;
    }

    // What the server holds from this program. This machine's own note of it is newer than the
    // server's copy when the last publish ended before it could write that copy.
    bool ReadServer() {
        std::string text;
        ServerAnswer fetched = Await(
            [this, &text] { return m_server->Fetch(std::string(kServerManifestName), text); });
        if (!fetched.Ok() && fetched.kind != ServerAnswer::Kind::Missing)
            return Fail(std::move(fetched), std::string(kServerManifestName));
        if (!m_local.written && !m_local.server.empty()) {
            m_known = m_local.server;
        } else if (fetched.Ok()) {
            m_known = ParseServerManifest(text);
            m_local.written = true;
        }
        m_ours = m_known.empty() ? m_local.server : m_known;
        m_local.server = m_known;
        return true;
    }

    void NoteLists(const PublishPlan& plan) {
        for (const auto& phase : plan.sends)
            for (const SiteFile* file : phase) m_report.toSend.push_back(file->name);
        m_report.toRemove = plan.removals;
        m_report.toSendBytes = plan.sendBytes;
    }

    bool TooManyRemovals(const PublishPlan& plan) const {
        if (m_request.allowRemovals || plan.removals.empty()) return false;
        const std::size_t whole = std::max(m_site.size(), m_ours.size());
        return static_cast<double>(plan.removals.size()) >
               kRemovalShare * static_cast<double>(whole);
    }

    // From here on the server changes: this machine's note says so until the server's copy is
    // written.
    void Touch() {
        if (m_touched) return;
        m_touched = true;
        m_local.written = false;
        m_local.server = m_known;
        WriteLocalManifest();
    }

    void WriteLocalManifest() {
        m_local.folder = m_request.outputFolder;
        m_local.files = m_site;
        MakeFoldersFor(m_files, m_manifestPath);
        if (!WriteFileAtomically(m_files, m_manifestPath, FormatLocalManifest(m_local),
                                 Flush::ToSystem))
            std::fprintf(stderr, "vistello: cannot write %s: %s\n", m_manifestPath.c_str(),
                         ErrorText(errno).c_str());
        m_lastWrite = Clock::now();
    }

    bool Tick(std::uint64_t underWay) {
        if (Clock::now() - m_lastWrite > kManifestEvery) WriteLocalManifest();
        return Tell(underWay);
    }

    bool RunBatch(const std::vector<Transfer>& batch, const TransferDone& done) {
        if (batch.empty()) return true;
        Touch();
        ServerAnswer answer =
            m_crew->Run(batch, done, [this](std::uint64_t underWay) { return Tick(underWay); });
        if (answer.Ok() && !Tell()) answer = {ServerAnswer::Kind::Stopped, "stopped", {}};
        return answer.Ok() || Fail(std::move(answer), m_lastFailed);
    }

    const SiteFile* SiteFileNamed(const std::string& name) const {
        auto it = std::lower_bound(
            m_site.begin(), m_site.end(), name,
            [](const SiteFile& file, const std::string& n) { return file.name < n; });
        return it != m_site.end() && it->name == name ? &*it : nullptr;
    }

    void Sent(const Transfer& transfer, const ServerAnswer& answer) {
        if (!answer.Ok()) {
            m_lastFailed = transfer.name;
            return;
        }
        const SiteFile* file = SiteFileNamed(transfer.name);
        ++m_status.filesDone;
        m_status.bytesDone += file->size;
        const std::optional<FileStamp> now =
            StampOf(m_files, m_request.outputFolder + "/" + file->name);
        if (!now || now->size != static_cast<off_t>(file->size) || now->seconds != file->seconds ||
            now->nanoseconds != file->nanoseconds) {
            m_known.erase(file->name);
            m_report.differences.push_back(file->name + ": changed while it was sent");
            return;
        }
        m_known[file->name] = file->sha256;
        m_local.server = m_known;
        ++m_report.sent;
        m_report.sentBytes += file->size;
    }

    // The connection that logged in first serves the requests between batches too, so that a
    // small publish logs in once.
    PublishServer& Server() { return m_crew ? m_crew->Idle() : *m_server; }

    bool SendAll(const PublishPlan& plan) {
        m_crew = std::make_unique<TransferCrew>(
            m_link, m_request.target, m_request.access, m_request.outputFolder,
            m_request.connections, m_request.retryPauseMs, std::move(m_server), m_stop);
        for (const auto& phase : plan.sends) {
            std::vector<Transfer> batch;
            for (const SiteFile* file : phase) batch.push_back({false, file->name});
            const bool sent =
                RunBatch(batch, [this](const Transfer& t, const ServerAnswer& a) { Sent(t, a); });
            if (!sent) return false;
        }
        return true;
    }

    bool RemoveAll(const std::vector<std::string>& removals) {
        std::vector<Transfer> batch;
        for (const std::string& name : removals) batch.push_back({true, name});
        const bool removed = RunBatch(batch, [this](const Transfer& t, const ServerAnswer& a) {
            if (!a.Ok() && a.kind != ServerAnswer::Kind::Missing) {
                m_lastFailed = t.name;
                return;
            }
            m_known.erase(t.name);
            m_local.server = m_known;
            ++m_report.removed;
            ++m_status.filesDone;
        });
        if (removed) RemoveEmptyFolders(removals);
        return removed;
    }

    // Folders the removals emptied go too, deepest first; one that still holds a file of the
    // user's stays, which the server says by refusing.
    void RemoveEmptyFolders(const std::vector<std::string>& removals) {
        std::vector<std::string> folders;
        for (const std::string& name : removals)
            for (size_t slash = name.rfind('/'); slash != name.npos && slash > 0;
                 slash = name.rfind('/', slash - 1))
                folders.push_back(name.substr(0, slash));
        std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
            return a.size() > b.size() || (a.size() == b.size() && a < b);
        });
        folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
        for (const std::string& folder : folders)
            if (!HoldsSiteFile(folder)) Await([&] { return Server().RemoveFolder(folder); });
    }

    bool HoldsSiteFile(const std::string& folder) const {
        const std::string start = folder + "/";
        auto it = std::lower_bound(
            m_site.begin(), m_site.end(), start,
            [](const SiteFile& file, const std::string& n) { return file.name < n; });
        return it != m_site.end() && it->name.starts_with(start);
    }

    bool WriteServerManifest() {
        if (!m_touched) return true;
        SendSource source;
        source.inMemory = true;
        source.bytes = FormatServerManifest(m_known);
        ServerAnswer answer = Await([this, &source] {
            return Server().Send(std::string(kServerManifestName), source,
                                 [this](std::uint64_t) { return !m_stop; });
        });
        if (!answer.Ok()) return Fail(std::move(answer), std::string(kServerManifestName));
        m_local.written = true;
        return true;
    }

    // A file the server lists otherwise than it was sent is sent once more, before the
    // differences are told.
    void Check() {
        ServerCheck check;
        for (int round = 0; round < 2; ++round) {
            check = Await([this] { return CheckServer(Server(), m_site, m_known); });
            if (!check.answer.Ok()) {
                Fail(check.answer);
                return;
            }
            if (check.wrong.empty() || round == 1) break;
            std::vector<Transfer> again;
            for (const std::string& name : check.wrong) {
                m_known.erase(name);
                again.push_back({false, name});
            }
            const bool sent =
                RunBatch(again, [this](const Transfer& t, const ServerAnswer& a) { Sent(t, a); });
            if (!sent || !WriteServerManifest()) return;
        }
        m_report.differences.insert(m_report.differences.end(), check.differences.begin(),
                                    check.differences.end());
        if (!m_report.differences.empty()) m_report.outcome = PublishReport::Outcome::Differs;
    }

    const PublishRequest& m_request;
    PublishLink& m_link;
    FileOps& m_files;
    const PublishProgress& m_progress;
    const std::string m_manifestPath;
    std::atomic<bool> m_stop = false;

    PublishReport m_report;
    PublishStatus m_status;
    LocalManifest m_local;
    std::vector<SiteFile> m_site;
    ServerManifest m_known;
    ServerManifest m_ours;
    std::unique_ptr<PublishServer> m_server;
    std::unique_ptr<TransferCrew> m_crew;
    bool m_touched = false;
    // A file was read for its sum, which the note keeps for next time.
    bool m_summed = false;
    std::string m_lastFailed;
    Clock::time_point m_lastWrite = Clock::now();
    Clock::time_point m_lastTold;
};

}  // namespace

std::string PublishSummary(const PublishReport& report) {
    return "Published " + std::to_string(report.sent) + " files (" + Megabytes(report.sentBytes) +
           " MB), removed " + std::to_string(report.removed) + ", " +
           std::to_string(report.unchanged) + " unchanged";
}

PublishReport PublishSite(const PublishRequest& request, PublishLink& link, FileOps& files,
                          const PublishProgress& progress) {
    // Two publishes from this machine take turns, so that neither writes over the other's note.
    MakeFoldersFor(files, request.manifestFolder + "/");
    const int lock = files.LockFolder(request.manifestFolder);
    PublishReport report;
    try {
        report = SitePublish(request, link, files, progress).Run();
    } catch (const std::exception& error) {
        report.outcome = PublishReport::Outcome::Failed;
        report.failure = Failure(error.what());
    }
    if (lock >= 0) files.Close(lock);
    return report;
}

ServerAnswer TestConnection(const PublishTarget& target, const ServerAccess& access,
                            PublishLink& link) {
    std::atomic<bool> stop = false;
    return link.Connect(target, access, stop)->Open();
}

}  // namespace vistello
