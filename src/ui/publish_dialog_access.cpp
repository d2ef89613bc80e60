#include "framework/window_host.h"
#include "framework/window_system.h"
#include "ui/password_dialog.h"
#include "ui/publish_dialog.h"
#include "ui/publish_texts.h"

namespace vistello {

namespace {

// SFTP logs in with the user's keys; the others need a password, or S3 its secret key.
bool NeedsPassword(const PublishTarget& target) { return target.protocol != PublishProtocol::Sftp; }

// S3 names its access key id in the address's user part, or the user types it.
bool NeedsAccessKey(const PublishTarget& target) {
    return target.protocol == PublishProtocol::S3 && target.user.empty();
}

std::string SecretKey(const PublishTarget& target) { return "publish " + target.address; }

std::string AccessKeyKey(const PublishTarget& target) {
    return "publish access key id " + target.address;
}

bool IsHostKeyQuestion(ServerAnswer::Kind kind) {
    return kind == ServerAnswer::Kind::HostUnknown || kind == ServerAnswer::Kind::HostChanged;
}

// The server has let the user in: what ended the run came after the login.
bool LoginPassed(ServerAnswer::Kind kind) {
    using Kind = ServerAnswer::Kind;
    return kind == Kind::Done || kind == Kind::Missing || kind == Kind::Denied ||
           kind == Kind::Full || kind == Kind::Failed;
}

}  // namespace

// The keyring is asked first; a target that cannot log in without a secret asks the user when
// the keyring has none. False when the user cancels.
bool CPublishDialog::FillSecret(Attempt& attempt) {
    Keyring& keyring = m_link.DesktopKeyring();
    const PublishTarget& target = attempt.target;
    if (target.protocol == PublishProtocol::S3 && !target.user.empty())
        attempt.access.accessKey = target.user;
    if (std::optional<std::string> secret = keyring.Find(SecretKey(target)))
        attempt.access.password = std::move(*secret);
    if (NeedsAccessKey(target)) {
        if (std::optional<std::string> id = keyring.Find(AccessKeyKey(target)))
            attempt.access.accessKey = std::move(*id);
    }
    const bool missing = (NeedsPassword(target) && attempt.access.password.empty()) ||
                         (NeedsAccessKey(target) && attempt.access.accessKey.empty());
    return !missing || AskPassword(attempt, false);
}

bool CPublishDialog::AskPassword(Attempt& attempt, bool refused) {
    attempt.askedPassword = true;
    const bool withAccessKey = NeedsAccessKey(attempt.target);
    CPasswordDialog dialog(PasswordPrompt(attempt.target, refused), withAccessKey);
    dialog.m_accessKey = attempt.access.accessKey;
    if (dialog.DoModal(System(), &Host()) != IDOK) return false;
    attempt.access.password = dialog.m_secret;
    if (withAccessKey) attempt.access.accessKey = dialog.m_accessKey;
    attempt.keepTyped = dialog.m_remember;
    attempt.keepAccessKey = dialog.m_remember && withAccessKey;
    if (!dialog.m_remember) m_link.DesktopKeyring().Forget(SecretKey(attempt.target));
    return true;
}

// A refusal the user can answer is asked about, once each: the host key, then the password.
CPublishDialog::Reply CPublishDialog::Settle(const ServerAnswer& answer, Attempt& attempt) {
    if (IsHostKeyQuestion(answer.kind) && !attempt.askedHostKey) {
        attempt.askedHostKey = true;
        const bool changed = answer.kind == ServerAnswer::Kind::HostChanged;
        if (AfxMessageBox(HostKeyQuestion(answer, attempt.target.host),
                          changed ? MsgButtons::YesNoSafe : MsgButtons::YesNo) != MsgAnswer::Yes)
            return Reply::Declined;
        attempt.access.acceptedFingerprint = answer.fingerprint;
        // A changed key is trusted for this connection only: known_hosts keeps the old one.
        attempt.access.keepAcceptedKey = !changed;
        return Reply::Retry;
    }
    if (answer.kind == ServerAnswer::Kind::LoginRefused && !attempt.askedPassword)
        return AskPassword(attempt, true) ? Reply::Retry : Reply::Declined;
    return Reply::Unasked;
}

// Only a secret the server took is kept; a keyring that cannot keep it is named once, and the
// typed secret serves this publish alone.
void CPublishDialog::KeepTyped(const Attempt& attempt, ServerAnswer::Kind last) {
    if (!attempt.keepTyped || !LoginPassed(last)) return;
    Keyring& keyring = m_link.DesktopKeyring();
    const std::string label = "Vistello: publishing to " + attempt.target.address;
    std::string failure;
    bool kept = keyring.Keep(SecretKey(attempt.target), label, attempt.access.password, failure);
    if (kept && attempt.keepAccessKey) {
        kept = keyring.Keep(AccessKeyKey(attempt.target), label + " (access key id)",
                            attempt.access.accessKey, failure);
    }
    if (kept || m_keyringFailureTold) return;
    m_keyringFailureTold = true;
    MessageBox("The keyring could not keep the password: " + failure +
                   "\r\nIt was used for this publish only.",
               "Publish");
}

}  // namespace vistello
