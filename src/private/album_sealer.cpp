#include "private/album_sealer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <variant>

#include "files/atomic_file.h"
#include "files/block_reader.h"
#include "files/error_text.h"
#include "files/leftovers.h"
#include "files/path_rules.h"
#include "private/album_key_file.h"
#include "private/embedded_files.h"
#include "private/seal_record.h"
#include "private/sealed_blob.h"
#include "private/sealed_names.h"
#include "private/sealed_pages.h"
#include "text/hex_bytes.h"

namespace vistello {

namespace {

// Deeper than any site's albums go, so that a folder made to loop is not followed for ever.
constexpr int kMostDepth = 256;
// Far larger than a key file: a larger file is no key file of ours, and is not read.
constexpr off_t kMostKeyFileBytes = 4096;

// Every regular file below the folder that is neither hidden nor reached through a link, by its
// path from `root`, in order.
void ListStaged(FileOps& ops, const std::string& root, const std::string& below, int depth,
                std::vector<std::string>& files) {
    const std::optional<std::vector<FolderEntry>> entries = ops.ListFolder(root + below);
    if (!entries || depth > kMostDepth) return;
    for (const FolderEntry& entry : *entries) {
        if (entry.name.starts_with('.') || entry.link) continue;
        const std::string path = below + entry.name;
        struct stat info {};
        if (entry.regularFile) {
            files.push_back(path);
        } else if (ops.Lstat(root + path, info) == 0 && S_ISDIR(info.st_mode)) {
            ListStaged(ops, root, path + "/", depth + 1, files);
        }
    }
}

std::optional<std::string> ReadWhole(FileOps& ops, const std::string& path, off_t most = -1) {
    BlockReader reader(ops, path);
    std::string bytes;
    if (!reader.IsOpen() || (most >= 0 && reader.Info().st_size > most)) return std::nullopt;
    if (!reader.ReadAllInto(bytes)) return std::nullopt;
    return bytes;
}

std::string KeyCheck(AlbumCipher& cipher, const SealJob& job, std::string_view keyFile) {
    std::string text("vistello-key-check");
    text.push_back('\0');
    text.append(job.password).push_back('\0');
    text.append(keyFile);
    return HexOfBytes(cipher.Hmac(job.key, text));
}

bool OpensToKey(AlbumCipher& cipher, const SealJob& job, std::string_view keyFile) {
    const auto wrapped = ReadKeyFile(keyFile);
    if (!std::holds_alternative<WrappedKey>(wrapped)) return false;
    return UnwrapKey(cipher, std::get<WrappedKey>(wrapped), job.password) == job.key;
}

// The files of `record` in its target that are not among `keep`, each only as it was written.
void RemoveUnneeded(FileOps& ops, const SealRecord& record, const std::string& target,
                    const SealRecord& keep, SealResult& result) {
    for (const auto& [name, sealed] : record.files) {
        if (keep.files.contains(name)) continue;
        const std::string path = target + name;
        struct stat info {};
        if (ops.Lstat(path, info) != 0) continue;
        if (!sealed.written.Matches(info)) {
            result.kept.push_back(path + ": kept, it changed since it was sealed");
        } else if (ops.Unlink(path) != 0) {
            result.failures.push_back(path + ": could not be removed: " + ErrorText(errno));
            ++result.removalsFailed;
        } else {
            result.removed.push_back(path);
        }
    }
}

class Sealer {
public:
    Sealer(FileOps& ops, AlbumCipher& cipher, const SealJob& job)
        : m_ops(ops), m_cipher(cipher), m_job(job), m_last(SealRecord::Read(ops, job.staging)) {}

    SealResult Seal();

private:
    void SealFile(const std::string& path);
    // Writes the file unless it already holds these bytes, and notes it.
    void Place(const std::string& name, std::string_view bytes);
    void Note(const std::string& name, std::optional<WrittenMark> source = std::nullopt);
    void KeepKeyFile();
    // Records what the last seal left and what this one wrote so far, under this seal's folder
    // and key, before its blobs are written.
    bool NoteStart();
    void Fail(const std::string& path, const std::string& why) {
        m_result.failures.push_back(path + ": " + why);
    }

    FileOps& m_ops;
    AlbumCipher& m_cipher;
    const SealJob& m_job;
    SealRecord m_last;
    SealRecord m_now;
    // Whether blobs of the last seal can be kept: the same folder, the same key.
    bool m_sameKey = false;
    std::vector<std::string> m_pages;
    std::string m_homeId;
    SealResult m_result;
};

void Sealer::Note(const std::string& name, std::optional<WrittenMark> source) {
    struct stat info {};
    if (m_ops.Lstat(m_job.target + name, info) == 0)
        m_now.files[name] = {WrittenMark::Of(info), source};
}

void Sealer::Place(const std::string& name, std::string_view bytes) {
    if (!WriteMadeFile(m_ops, m_job.target + name, bytes)) {
        Fail(m_job.target + name, "could not be written: " + ErrorText(errno));
        return;
    }
    Note(name);
}

void Sealer::SealFile(const std::string& path) {
    const std::string id = BlobId(m_cipher, m_job.key, path);
    if (id.empty()) return Fail(m_job.staging + path, "the cipher gave no name for it");
    if (IsPagePath(path)) m_pages.push_back(id);
    if (path == m_job.home) m_homeId = id;
    const std::string name = id + ".js";
    const auto last = m_last.files.find(name);
    // A blob that cannot be made again stays as it was, to be made the next time.
    const auto fail = [&](const std::string& file, const std::string& why) {
        if (m_sameKey && last != m_last.files.end()) m_now.files[name] = {last->second.written, {}};
        Fail(file, why);
    };
    struct stat source {};
    struct stat blob {};
    if (m_ops.Lstat(m_job.staging + path, source) != 0)
        return fail(m_job.staging + path, "could not be read: " + ErrorText(errno));
    if (m_sameKey && last != m_last.files.end() && last->second.source &&
        last->second.source->Matches(source) && m_ops.Lstat(m_job.target + name, blob) == 0 &&
        last->second.written.Matches(blob)) {
        m_now.files[name] = last->second;
        return;
    }
    const auto tooLarge = [&](uint64_t length) {
        if (BlobLength(id.size(), path.size(), length) <= kMostBlobBytes) return false;
        fail(m_job.staging + path, "left out: at " + std::to_string(length / 1000000) +
                                       " MB it is more than a browser opens in a private album");
        return true;
    };
    if (tooLarge(static_cast<uint64_t>(source.st_size))) return;
    std::optional<std::string> data = ReadWhole(m_ops, m_job.staging + path);
    if (!data) return fail(m_job.staging + path, "could not be read: " + ErrorText(errno));
    // It may have grown since it was looked at.
    if (tooLarge(data->size())) return;
    const std::optional<std::string> text = SealBlob(m_cipher, m_job.key, id, path, *data);
    data.reset();
    if (!text) return fail(m_job.staging + path, "could not be sealed by the cipher");
    const bool written =
        ReplaceMadeFile(m_ops, m_job.target + name,
                        [&text](int, const BlockWriter& write) { return write(*text); });
    if (!written) return fail(m_job.target + name, "could not be written: " + ErrorText(errno));
    Note(name, WrittenMark::Of(source));
}

bool Sealer::NoteStart() {
    SealRecord started = m_last;
    started.target = m_now.target;
    started.keyName = m_now.keyName;
    started.keyCheck = m_now.keyCheck;
    for (const auto& [name, sealed] : m_now.files) started.files[name] = sealed;
    return started.Write(m_ops, m_job.staging);
}

// The key file stays byte for byte while it opens to the key under the password, so that a
// password change rewrites it alone.
void Sealer::KeepKeyFile() {
    const std::string name(kKeyFileName);
    const std::string path = m_job.target + name;
    std::optional<std::string> text = ReadWhole(m_ops, path, kMostKeyFileBytes);
    const bool keep = text && (m_job.keyFileOpens ||
                               (m_sameKey && !m_last.keyCheck.empty() &&
                                m_last.keyCheck == KeyCheck(m_cipher, m_job, *text)) ||
                               OpensToKey(m_cipher, m_job, *text));
    if (!keep) {
        text = MakeKeyFile(m_cipher, m_job.key, m_job.password);
        if (!text) return Fail(path, "could not be made by the cipher");
        if (!WriteMadeFile(m_ops, path, *text))
            return Fail(path, "could not be written: " + ErrorText(errno));
    }
    m_now.keyCheck = KeyCheck(m_cipher, m_job, *text);
    Note(name);
}

SealResult Sealer::Seal() {
    m_now.target = AbsolutePath(m_job.target.empty() ? "." : m_job.target);
    m_now.keyName = SealedFolderName(m_cipher, m_job.key);
    // The album's last seal went elsewhere (a new key names a new folder): what it wrote there
    // goes before the new one is written.
    if (!m_last.target.empty() && m_last.target != m_now.target) {
        RemoveUnneeded(m_ops, m_last, m_last.target + "/", m_now, m_result);
        ClearStaleTemporaries(m_ops, m_last.target + "/");
        if (!m_now.target.starts_with(m_last.target)) m_ops.RemoveFolder(m_last.target);
        m_last = SealRecord{};
    }
    m_sameKey = !m_now.keyName.empty() && m_last.keyName == m_now.keyName;
    ClearStaleTemporaries(m_ops, m_job.target);
    // The record names the folder before anything is written there, and the key file goes first:
    // a seal cut short is then taken up again under the same key, or its folder taken away.
    NoteStart();
    KeepKeyFile();
    if (!NoteStart())
        Fail(m_job.staging + std::string(SealRecord::kFileName),
             "could not be written: " + ErrorText(errno));
    std::vector<std::string> staged;
    ListStaged(m_ops, m_job.staging, "", 0, staged);
    std::sort(staged.begin(), staged.end());
    for (const std::string& path : staged) SealFile(path);
    for (const std::string& id : m_pages) Place(id + ".html", StubPage(id));
    if (m_homeId.empty()) {
        Fail(m_job.staging + m_job.home, "the album's first page was not made");
    } else {
        Place(std::string(kHomeStubName), StubPage(m_homeId));
    }
    for (const std::string_view script : {kOpenScriptName, kCryptoScriptName})
        Place(std::string(script), EmbeddedFile(script));
    RemoveUnneeded(m_ops, m_last, m_job.target, m_now, m_result);
    if (!m_now.Write(m_ops, m_job.staging))
        Fail(m_job.staging + std::string(SealRecord::kFileName),
             "could not be written: " + ErrorText(errno));
    return std::move(m_result);
}

}  // namespace

SealResult SealAlbum(FileOps& ops, AlbumCipher& cipher, const SealJob& job) {
    return Sealer(ops, cipher, job).Seal();
}

SealResult UnsealAlbum(FileOps& ops, const std::string& staging, const std::string& target) {
    SealResult result;
    const SealRecord last = SealRecord::Read(ops, staging);
    if (last.target != AbsolutePath(target.empty() ? "." : target)) return result;
    RemoveUnneeded(ops, last, target, SealRecord{}, result);
    if (result.failures.empty()) ops.Unlink(staging + std::string(SealRecord::kFileName));
    return result;
}

}  // namespace vistello
