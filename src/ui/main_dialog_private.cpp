#include <optional>
#include <string>
#include <utility>

#include "files/atomic_file.h"
#include "files/block_reader.h"
#include "files/path_rules.h"
#include "framework/window_system.h"
#include "output/owned_files.h"
#include "project/private_lines.h"
#include "site/album_keyring.h"
#include "slides/slide_kind.h"
#include "text/visible_controls.h"
#include "ui/main_dialog.h"
#include "ui/private_album_dialog.h"

namespace vistello {

namespace {

constexpr const char* kPrivateCaption = "Make Album Private";
constexpr const char* kPublicCaption = "Make Album Public";

std::string Quoted(const std::string& title) { return "“" + WithVisibleControls(title) + "”"; }

std::string StemName(const std::string& projectFile) {
    return std::string(StemOf(FileNameOf(projectFile)));
}

// The whole file, line ends and all, or nothing when it cannot be read to its end.
std::optional<std::string> WholeFile(FileOps& ops, const std::string& path) {
    BlockReader reader(ops, path);
    std::string bytes;
    if (!reader.IsOpen() || !reader.ReadAllInto(bytes)) return std::nullopt;
    return bytes;
}

}  // namespace

Keyring* CMainDialog::AlbumKeyring() const {
    return m_publishLink != nullptr ? &m_publishLink->DesktopKeyring() : nullptr;
}

// An album's row names that album; any other row, or none, the project open in the window,
// which with no album open is the whole site.
std::optional<CMainDialog::PrivacyTarget> CMainDialog::ChoosePrivacyTarget(const char* caption) {
    const int row = m_listView.SelectionMark();
    const std::string open = ProjectFileName();
    if (!m_listEntries.HasRow(row) ||
        SlideKindOf(m_listEntries.Row(row).imagePath) != SlideKind::Album)
        return PrivacyTarget{open, StemName(open), true};
    const ImageEntry& album = m_listEntries.Row(row);
    const std::string title = album.title.empty() ? StemName(album.imagePath) : album.title;
    if (ProjectKey(album.imagePath) == ProjectKey(open)) return PrivacyTarget{open, title, true};
    if (!IsProjectAt(album.imagePath)) {
        MessageBox("This album's project cannot be read as a project:\r\n" + album.imagePath,
                   caption);
        return std::nullopt;
    }
    return PrivacyTarget{album.imagePath, title, false};
}

std::optional<Privacy> CMainDialog::PrivacyOfTarget(const PrivacyTarget& target,
                                                    const char* caption) {
    if (target.open) return PrivacyOf(m_web);
    const std::optional<std::string> bytes = WholeFile(Files(), target.projectFile);
    if (!bytes) MessageBox("Cannot read the album's project:\r\n" + target.projectFile, caption);
    return bytes ? std::optional<Privacy>(PrivacyOf(*bytes)) : std::nullopt;
}

// The open project's settings change, to be saved with it; an album's file is written at once,
// every line of it but these as it was.
bool CMainDialog::SetPrivacy(const PrivacyTarget& target, Privacy privacy, const char* caption) {
    if (target.open) {
        m_web = WithPrivacy(m_web, privacy);
        return true;
    }
    const std::optional<std::string> bytes = WholeFile(Files(), target.projectFile);
    if (bytes &&
        WriteFileAtomically(Files(), target.projectFile, WithPrivacyLines(*bytes, privacy)))
        return true;
    MessageBox("Cannot write the album's project:\r\n" + target.projectFile, caption);
    return false;
}

// The keyring keeps the album's key, where it knows one, with the new password; a keyring that
// cannot keep it forgets the old password, which would otherwise lock the album at the next
// Generate.
void CMainDialog::KeepAlbumPassword(const PrivacyTarget& target, const std::string& password) {
    std::string failure = "this copy of Vistello was started without its network module";
    if (Keyring* keyring = AlbumKeyring()) {
        const std::optional<AlbumSecret> held = FindAlbumSecret(*keyring, target.projectFile);
        const std::string key = AlbumKeyringKey(target.projectFile);
        const AlbumSecret secret{held ? held->key : std::string(), password};
        if (keyring->Keep(key, "Vistello: private album " + Quoted(target.title),
                          AlbumKeyringText(secret), failure))
            return;
        keyring->Forget(key);
    }
    MessageBox("The album is private, but the keyring could not keep its password: " + failure +
                   "\r\nGenerate will ask for it.",
               kPrivateCaption);
}

void CMainDialog::OnMakeAlbumPrivate() {
    UpdateData(true);
    const std::optional<PrivacyTarget> target = ChoosePrivacyTarget(kPrivateCaption);
    const std::optional<Privacy> was =
        target ? PrivacyOfTarget(*target, kPrivateCaption) : std::nullopt;
    if (!was) return;
    const bool site = target->open && m_albumTrail.empty();
    std::string prompt = "Only readers with this password will open the " +
                         std::string(site ? "site " : "album ") + Quoted(target->title) +
                         (site ? ": all of it." : ", and every album in it.");
    if (was->isPrivate) prompt += "\r\nIt is private already: this password replaces its own.";
    CPrivateAlbumDialog dialog(prompt);
    dialog.m_showTitle = was->isPrivate && was->showsTitle;
    if (dialog.DoModal(System(), &Host()) != IDOK) return;
    if (!SetPrivacy(*target, {true, dialog.m_showTitle}, kPrivateCaption)) return;
    KeepAlbumPassword(*target, dialog.m_password);
    UpdateData(false);
}

// Asked first, since the next Generate publishes what was locked for anyone to read.
void CMainDialog::OnMakeAlbumPublic() {
    UpdateData(true);
    const std::optional<PrivacyTarget> target = ChoosePrivacyTarget(kPublicCaption);
    const std::optional<Privacy> was =
        target ? PrivacyOfTarget(*target, kPublicCaption) : std::nullopt;
    if (!was) return;
    Keyring* keyring = AlbumKeyring();
    if (!was->isPrivate) {
        if (keyring != nullptr) keyring->Forget(AlbumKeyringKey(target->projectFile));
        MessageBox(Quoted(target->title) + " is public already.", kPublicCaption);
        return;
    }
    if (AfxMessageBox("Make " + Quoted(target->title) +
                          " public?\r\nFrom the next Generate on, its pages and pictures are "
                          "published for anyone to read, and the keyring forgets its password.",
                      MsgButtons::YesNoSafe) != MsgAnswer::Yes ||
        !SetPrivacy(*target, {}, kPublicCaption))
        return;
    if (keyring != nullptr) keyring->Forget(AlbumKeyringKey(target->projectFile));
    UpdateData(false);
}

}  // namespace vistello
