#include "site/private_albums.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <variant>

#include "files/block_reader.h"
#include "files/error_text.h"
#include "files/path_rules.h"
#include "output/owned_files.h"
#include "private/album_key_file.h"
#include "private/seal_record.h"
#include "private/sealed_names.h"
#include "private/staging_folder.h"
#include "text/hex_bytes.h"

namespace vistello {

namespace {

constexpr size_t kKeySize = 32;
constexpr off_t kMostKeyFileBytes = 4096;

std::string TitleOf(const SiteAlbum& album) { return album.row ? album.row->title : "Home"; }

// Whether the path lies in the folder or below it, links followed as far as they lead.
bool Inside(const std::string& path, const std::string& folder) {
    const auto resolved = [](const std::string& name) {
        std::error_code error;
        const std::filesystem::path found = std::filesystem::weakly_canonical(name, error);
        std::string real = error ? AbsolutePath(name) : found.string();
        while (real.size() > 1 && real.ends_with('/')) real.pop_back();
        return real.ends_with('/') ? real : real + "/";
    };
    return resolved(path).starts_with(resolved(folder));
}

}  // namespace

PrivateAlbums::PrivateAlbums(FileOps& ops, const Site& site, const std::string& outputFolder,
                             const SiteTools& tools, const SiteRecord& record,
                             std::vector<std::string>& skipped, std::vector<std::string>& notes)
    : m_ops(ops),
      m_site(site),
      m_output(outputFolder),
      m_tools(tools),
      m_record(record),
      m_cache(tools.privateFolder.empty()
                  ? PrivateCacheFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"))
                  : tools.privateFolder) {
    if (!HoldsPrivate(site)) return;
    m_lockOf.assign(site.albums.size(), -1);
    // Every album stands after the one that holds it.
    for (size_t index = 0; index < site.albums.size(); ++index) {
        const SiteAlbum& album = site.albums[index];
        const int above = album.parent < 0 ? -1 : m_lockOf[static_cast<size_t>(album.parent)];
        if (above >= 0 || !album.web.locked) {
            m_lockOf[index] = above;
            continue;
        }
        m_lockOf[index] = static_cast<int>(index);
        if (std::optional<std::string> why = Open(index, notes))
            skipped.push_back(album.projectFile + ": not written, " + *why);
    }
}

PrivateAlbums::~PrivateAlbums() {
    for (const auto& [index, lock] : m_locks) m_ops.Close(lock.held);
}

bool PrivateAlbums::LeftOut(size_t index) const {
    return Sealed(index) && !m_locks.contains(static_cast<size_t>(LockOf(index)));
}

const AlbumLock& PrivateAlbums::LockFor(size_t index) const {
    return m_locks.at(static_cast<size_t>(LockOf(index)));
}

std::string PrivateAlbums::Root(size_t index) const {
    return Sealed(index) ? LockFor(index).staging : m_output;
}

std::string PrivateAlbums::FolderIn(size_t index) const {
    const std::string& folder = m_site.albums[index].folder;
    if (!Sealed(index)) return folder;
    return folder.substr(m_site.albums[static_cast<size_t>(LockOf(index))].folder.size());
}

std::string PrivateAlbums::RecordedDigest(AlbumCipher& cipher, size_t lock,
                                          const std::string& digest) const {
    const AlbumLock& opened = m_locks.at(lock);
    std::string text("vistello-digest");
    text.push_back('\0');
    text.append(digest).push_back('\0');
    text.append(opened.secret.password);
    return HexOfBytes(cipher.Hmac(opened.secret.key, text)).substr(0, 32);
}

bool PrivateAlbums::Locks(const std::string& projectKey) const {
    for (const auto& [index, lock] : m_locks) {
        if (RecordKey(m_site.albums[index].projectFile) == projectKey) return true;
    }
    return false;
}

std::optional<std::string> PrivateAlbums::PublishedKey(size_t index, AlbumLock& lock,
                                                       std::vector<std::string>& notes) {
    const std::string project = RecordKey(m_site.albums[index].projectFile);
    for (const auto& [folder, made] : m_record.albums) {
        if (!made.sealed || made.project != project) continue;
        const std::string path = m_output + folder + std::string(kKeyFileName);
        BlockReader reader(m_ops, path);
        std::string text;
        if (!reader.IsOpen() || reader.Info().st_size > kMostKeyFileBytes ||
            !reader.ReadAllInto(text))
            continue;
        const auto wrapped = ReadKeyFile(text);
        if (const std::string* why = std::get_if<std::string>(&wrapped)) {
            notes.push_back(path + ": not read, " + *why + "; the album takes a new key");
            continue;
        }
        const std::optional<std::string> key =
            UnwrapKey(*m_tools.cipher, std::get<WrappedKey>(wrapped), lock.secret.password);
        if (!key) return "the password does not open the album as published";
        lock.secret.key = *key;
        lock.keyFileOpens = true;
        lock.target = folder;
        return std::nullopt;
    }
    return std::nullopt;
}

void PrivateAlbums::UnfinishedKey(size_t index, AlbumLock& lock) const {
    if (m_cache.empty()) return;
    const std::string staging =
        StagingFolder(m_cache, m_output, RecordKey(m_site.albums[index].projectFile));
    const std::string target = SealRecord::Read(m_ops, staging).target;
    const std::string output = AbsolutePath(m_output.empty() ? "." : m_output);
    if (target != output && !target.starts_with(output + "/")) return;
    const std::string folder =
        target == output ? std::string() : target.substr(output.size() + 1) + "/";
    BlockReader reader(m_ops, m_output + folder + std::string(kKeyFileName));
    std::string text;
    if (!reader.IsOpen() || reader.Info().st_size > kMostKeyFileBytes || !reader.ReadAllInto(text))
        return;
    const auto wrapped = ReadKeyFile(text);
    if (!std::holds_alternative<WrappedKey>(wrapped)) return;
    const std::optional<std::string> key =
        UnwrapKey(*m_tools.cipher, std::get<WrappedKey>(wrapped), lock.secret.password);
    if (!key) return;
    lock.secret.key = *key;
    lock.keyFileOpens = true;
    lock.target = folder;
}

std::optional<std::string> PrivateAlbums::ChooseKey(size_t index, AlbumLock& lock,
                                                    std::vector<std::string>& notes) {
    const SiteAlbum& album = m_site.albums[index];
    if (lock.secret.key.size() != kKeySize) {
        lock.secret.key.clear();
        // Where the key is not known here, the album as published tells it to its password.
        if (std::optional<std::string> why = PublishedKey(index, lock, notes)) return why;
        if (lock.secret.key.empty()) UnfinishedKey(index, lock);
    }
    if (lock.secret.key.empty()) {
        const std::optional<std::string> key = m_tools.cipher->Random(kKeySize);
        if (!key || key->size() != kKeySize)
            return std::string("the crypto library gave no random bytes for its key");
        lock.secret.key = *key;
    }
    lock.name = SealedFolderName(*m_tools.cipher, lock.secret.key);
    if (lock.name.empty()) return std::string("the crypto library gave no name for its folder");
    const std::string parent =
        album.parent < 0 ? std::string() : m_site.albums[static_cast<size_t>(album.parent)].folder;
    const std::string target = index == 0 ? std::string() : parent + lock.name + "/";
    // Found to open in the folder the album is sealed into now, the key file need not be opened
    // again.
    lock.keyFileOpens = lock.keyFileOpens && lock.target == target;
    lock.target = target;
    return std::nullopt;
}

std::optional<std::string> PrivateAlbums::Open(size_t index, std::vector<std::string>& notes) {
    const SiteAlbum& album = m_site.albums[index];
    if (m_tools.cipher == nullptr) {
        return "private albums are sealed with the crypto library, which " +
               (m_tools.cipherFailure.empty() ? std::string("is missing")
                                              : "could not be loaded: " + m_tools.cipherFailure);
    }
    if (m_cache.empty())
        return std::string("there is no folder to make it in before it is sealed: HOME is not set");
    std::optional<AlbumSecret> secret;
    if (m_tools.secretFor) secret = m_tools.secretFor(album.projectFile, TitleOf(album));
    if (!secret || secret->password.empty()) return std::string("no password was given for it");
    AlbumLock lock;
    lock.secret = *secret;
    lock.staging = StagingFolder(m_cache, m_output, RecordKey(album.projectFile));
    // Both would be staged in one folder, which this run holds already for the first.
    for (const auto& [other, opened] : m_locks) {
        if (opened.staging == lock.staging)
            return "the site holds it already, as " + m_site.albums[other].folder +
                   ", and a private album is made in one place only";
    }
    if (Inside(lock.staging, m_output.empty() ? "." : m_output)) {
        return "its staging folder " + lock.staging +
               " lies inside the output folder, which would publish it unsealed";
    }
    if (!MakeStagingFolder(m_ops, lock.staging))
        return "its staging folder " + lock.staging + " cannot be made: " + ErrorText(errno);
    // Held before the key is chosen: a run that came first and found no key may be sealing
    // under a new one, which this run could not know of yet.
    lock.held = TakeStagingTurn(m_ops, lock.staging);
    if (lock.held < 0) {
        return errno == EWOULDBLOCK
                   ? std::string("another run is making it now; generate again when it ends")
                   : "its staging folder " + lock.staging +
                         " cannot be locked: " + ErrorText(errno);
    }
    if (std::optional<std::string> why = ChooseKey(index, lock, notes)) {
        m_ops.Close(lock.held);
        return why;
    }
    m_locks.emplace(index, std::move(lock));
    return std::nullopt;
}

}  // namespace vistello
