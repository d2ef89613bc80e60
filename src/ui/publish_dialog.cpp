#include "ui/publish_dialog.h"

#include <memory>
#include <utility>

#include "files/path_rules.h"
#include "framework/data_exchange.h"
#include "framework/window_host.h"
#include "framework/window_system.h"
#include "output/made_files.h"
#include "ui/dialog_templates.h"
#include "ui/publish_texts.h"
#include "ui/resource_ids.h"

namespace vistello {

namespace {

constexpr const char* kCaption = "Publish";

// The login got through: what came after it was the server's or the site's.
ServerAnswer::Kind LastKind(const PublishReport& report) {
    switch (report.outcome) {
        case PublishReport::Outcome::Failed:
            return report.failure.kind;
        case PublishReport::Outcome::Stopped:
            return report.sent > 0 ? ServerAnswer::Kind::Done : ServerAnswer::Kind::Stopped;
        default:
            return ServerAnswer::Kind::Done;
    }
}

}  // namespace

CPublishDialog::CPublishDialog(std::string address, PublishLink& link, FileOps& files,
                               PublishPlaces places, bool& keyringFailureTold)
    : CDialog(PublishDialogTemplate()),
      m_address(std::move(address)),
      m_link(link),
      m_files(files),
      m_places(std::move(places)),
      m_keyringFailureTold(keyringFailureTold) {
    MapCommand(ids::kPublishTest, [this] { OnTestConnection(); });
}

void CPublishDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, ids::kPublishAddress, m_address);
}

// The address is read as typed; one the program cannot publish to is refused with its reason.
std::optional<CPublishDialog::Attempt> CPublishDialog::Begin() {
    UpdateData(true);
    std::string failure;
    std::optional<PublishTarget> target = ParsePublishTarget(m_address, failure);
    if (!target) {
        MessageBox(AddressRefusal(failure), kCaption);
        return std::nullopt;
    }
    Attempt attempt;
    attempt.target = std::move(*target);
    attempt.access = m_places.machine;
    return attempt;
}

void CPublishDialog::OnTestConnection() {
    std::optional<Attempt> attempt = Begin();
    if (!attempt || !FillSecret(*attempt)) return;
    ServerAnswer answer;
    Reply reply = Reply::Unasked;
    do {
        answer = TestConnection(attempt->target, attempt->access, m_link);
    } while (!answer.Ok() && (reply = Settle(answer, *attempt)) == Reply::Retry);
    if (reply == Reply::Declined) return;
    KeepTyped(*attempt, answer.kind);
    MessageBox(ConnectionText(answer, m_address), kCaption);
}

// The output folder is sent as it stands, saved or not; a folder Generate never wrote into holds
// no site, and nothing of it is sent. An address that reads is the project's from the moment
// Publish is pressed with it.
void CPublishDialog::OnOK() {
    std::optional<Attempt> attempt = Begin();
    if (!attempt) return;
    m_publishedTo = m_address;
    const std::string folder = SiteFolder();
    if (!HasGeneratedSite(folder)) {
        MessageBox("There is no generated site to publish in " + folder +
                       "\r\nGenerate the slide show first.",
                   kCaption);
        return;
    }
    if (!FillSecret(*attempt)) return;
    PublishRequest request{folder, attempt->target, attempt->access, m_places.manifestFolder};
    PublishReport report;
    Reply reply = Reply::Unasked;
    while (true) {
        request.access = attempt->access;
        report = Send(request);
        if (report.outcome == PublishReport::Outcome::Failed) {
            reply = Settle(report.failure, *attempt);
            if (reply == Reply::Retry) continue;
        } else if (report.outcome == PublishReport::Outcome::RemovalsAsked &&
                   !std::exchange(attempt->askedRemovals, true)) {
            reply = AfxMessageBox(RemovalsQuestion(report), MsgButtons::YesNo) == MsgAnswer::Yes
                        ? Reply::Retry
                        : Reply::Declined;
            request.allowRemovals = reply == Reply::Retry;
            if (reply == Reply::Retry) continue;
        }
        break;
    }
    KeepTyped(*attempt, LastKind(report));
    if (reply == Reply::Declined) return;
    MessageBox(PublishReportText(report), kCaption);
    if (report.outcome == PublishReport::Outcome::Published) EndDialog(IDOK);
}

std::string CPublishDialog::SiteFolder() const {
    return AbsolutePath(m_places.outputFolder.empty() ? "." : m_places.outputFolder);
}

bool CPublishDialog::HasGeneratedSite(const std::string& folder) const {
    std::string record = folder;
    AppendSeparator(record);
    return IsRegularFile(m_files, record + std::string(MadeFiles::kFileName));
}

// The progress is told on this thread, so the bar and Cancel answer while the files go.
PublishReport CPublishDialog::Send(const PublishRequest& request) {
    const std::unique_ptr<Progress> progress =
        System().StartProgress(kPublishProgressSteps, "Publishing", &Host());
    return PublishSite(request, m_link, m_files, [&progress](const PublishStatus& status) {
        return progress->StepWithText(PublishProgressDone(status), PublishProgressLine(status));
    });
}

}  // namespace vistello
