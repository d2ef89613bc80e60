#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "private/album_secret.h"
#include "site/album_tree.h"
#include "site/site_record.h"
#include "site/site_writer.h"

namespace vistello {

// A private album that goes ahead: its secret, the folder its key names, that folder from the
// output folder (beside the albums of the one that holds it; empty for the top) and where it is
// made before it is sealed.
struct AlbumLock {
    AlbumSecret secret;
    std::string name;
    std::string target;
    std::string staging;
    // Whether its key file as published was just found to open under the password.
    bool keyFileOpens = false;
    // The staging folder held locked for the run, so that two runs never choose two keys.
    int held = -1;
};

// The private albums of a site. An album is sealed with the outermost private album above it, or
// itself when it is private and none above it is; every album below shares its lock.
class PrivateAlbums {
public:
    // Opens the lock of each outermost private album, asking for its secret in the site's order.
    // One that cannot be opened is left out with the line that says why in `skipped`; a key file
    // that cannot be read, for which the album takes a new key, is said in `notes`.
    PrivateAlbums(FileOps& ops, const Site& site, const std::string& outputFolder,
                  const SiteTools& tools, const SiteRecord& record,
                  std::vector<std::string>& skipped, std::vector<std::string>& notes);
    ~PrivateAlbums();
    PrivateAlbums(const PrivateAlbums&) = delete;
    PrivateAlbums& operator=(const PrivateAlbums&) = delete;

    // Whether the album is sealed, and whether it is the outermost of its lock.
    bool Sealed(size_t index) const { return LockOf(index) >= 0; }
    bool IsLock(size_t index) const { return LockOf(index) == static_cast<int>(index); }
    // The outermost private album a sealed album is sealed with.
    size_t LockIndex(size_t index) const { return static_cast<size_t>(LockOf(index)); }
    // Whether it is sealed with a lock that was left out.
    bool LeftOut(size_t index) const;
    // The lock of a sealed album that is not left out.
    const AlbumLock& LockFor(size_t index) const;
    // Where the album is made: its folder as the site names it from the output folder, or from
    // its lock's staging folder.
    std::string Root(size_t index) const;
    std::string FolderIn(size_t index) const;
    // Where staging folders are; empty when the user has none.
    const std::string& Cache() const { return m_cache; }
    // What the record keeps of a lock's digest: a sum under its key, of the digest and the
    // password, so that it tells nothing and a new password seals the album again.
    std::string RecordedDigest(AlbumCipher& cipher, size_t lock, const std::string& digest) const;
    // Whether a lock of the site is made from that project.
    bool Locks(const std::string& projectKey) const;

private:
    int LockOf(size_t index) const { return m_lockOf.empty() ? -1 : m_lockOf[index]; }
    // Why the lock cannot be opened, or nothing.
    std::optional<std::string> Open(size_t index, std::vector<std::string>& notes);
    // The lock's key and the folder it names; the reason when neither can be had.
    std::optional<std::string> ChooseKey(size_t index, AlbumLock& lock,
                                         std::vector<std::string>& notes);
    // The key the password opens from the album as published; nothing when none is published,
    // the reason when the password does not open it.
    std::optional<std::string> PublishedKey(size_t index, AlbumLock& lock,
                                            std::vector<std::string>& notes);

    // The key of a seal into the output folder that the site's record does not know, cut short
    // before its run ended: the staging folder's record names where it went, and the password
    // opens the key file there. Nothing is taken when it does not.
    void UnfinishedKey(size_t index, AlbumLock& lock) const;

    FileOps& m_ops;
    const Site& m_site;
    const std::string& m_output;
    const SiteTools& m_tools;
    const SiteRecord& m_record;
    std::string m_cache;
    // Empty when the site has no private album.
    std::vector<int> m_lockOf;
    std::map<size_t, AlbumLock> m_locks;
};

}  // namespace vistello
