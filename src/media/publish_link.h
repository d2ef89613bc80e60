#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

enum class PublishProtocol { Sftp, Ftp, Ftps, WebDav, S3 };

// Where a site is published: the project's PUBLISH= address, taken apart.
struct PublishTarget {
    PublishProtocol protocol = PublishProtocol::Sftp;
    // The address as the project has it.
    std::string address;
    // Decoded; empty where the address names none.
    std::string user;
    // As in a URL: a name, an IPv4 address, or an IPv6 address in brackets.
    std::string host;
    // 0 for the protocol's own.
    int port = 0;
    // WebDAV and S3: https rather than http.
    bool secure = false;
    // The site's folder on the server, decoded, always starting with "/" and never ending with
    // one but for the root itself. For S3 the bucket is the first step of it.
    std::string folder;
    // S3 only: the bucket, the key prefix every name is put under ("" or ending with "/"), and
    // the region the signature names.
    std::string bucket;
    std::string prefix;
    std::string region;
};

// What a server said to one request.
struct ServerAnswer {
    enum class Kind {
        Done,
        // The file or folder is not there.
        Missing,
        // The host's key is not in known_hosts, or is another one than known_hosts has.
        HostUnknown,
        HostChanged,
        // The user name, password, key or S3 secret was refused.
        LoginRefused,
        // The server refused the request: no permission, a read-only place.
        Denied,
        // The server has no room left.
        Full,
        // No connection could be made, or it broke: worth trying again.
        Broken,
        // The stop flag was raised.
        Stopped,
        // Anything else.
        Failed,
    };
    Kind kind = Kind::Done;
    // The server's own words where it gave any, else the library's; empty when Done.
    std::string reason;
    // HostUnknown and HostChanged: the key the server showed, as ssh prints it ("SHA256:...").
    std::string fingerprint;

    bool Ok() const { return kind == Kind::Done; }
};

// One file as the server lists it, named relative to the site's folder with "/" between steps.
struct ServerFile {
    std::string name;
    std::uint64_t size = 0;
};

// What a file to send is read from: a file on this machine, or bytes in memory (the server's copy
// of the manifest).
struct SendSource {
    std::string path;
    std::string bytes;
    bool inMemory = false;
};

// Called with the bytes of the current file sent so far; false stops the transfer.
using SendProgress = std::function<bool(std::uint64_t sent)>;

// One logged-in connection to a target. Names are relative to the site's folder, "/" between
// steps, raw bytes; the server encodes them as its protocol needs. One thread uses a server at a
// time; several servers of one target may run on several threads at once.
class PublishServer {
public:
    virtual ~PublishServer() = default;
    // Logs in, checks the host key, and makes the site's folder where it is missing.
    virtual ServerAnswer Open() = 0;
    // A small file's bytes; Missing when it is not there.
    virtual ServerAnswer Fetch(const std::string& name, std::string& bytes) = 0;
    // Writes the file under a temporary name beside its place, then renames it into place, so
    // that no reader meets half a file; where the protocol cannot rename, one write that the
    // server makes visible only whole. Folders on the way are made.
    virtual ServerAnswer Send(const std::string& name, const SendSource& source,
                              const SendProgress& progress) = 0;
    // Missing when it was not there.
    virtual ServerAnswer Remove(const std::string& name) = 0;
    // Removes the folder when it is empty; a folder that is not, or a protocol without folders,
    // is left and answered Done.
    virtual ServerAnswer RemoveFolder(const std::string& name) = 0;
    // Every file below the site's folder, at any depth, and its size.
    virtual ServerAnswer List(std::vector<ServerFile>& files) = 0;
};

// Where the credentials come from; none of it is ever written into a project, a record or a page.
struct ServerAccess {
    // FTP, FTPS and WebDAV password, SFTP password or key passphrase, or the S3 secret key.
    std::string password;
    // S3's access key id; the other protocols take the user from the address.
    std::string accessKey;
    // The folder with the user's ssh keys and known_hosts, usually ~/.ssh.
    std::string sshFolder;
    // The ssh agent's socket, or empty.
    std::string agentSocket;
    // A host key the user accepted for this connection ("SHA256:..."), though known_hosts does
    // not have it or has another.
    std::string acceptedFingerprint;
    // An accepted key of a host known_hosts does not name is added to it, written safely; a key
    // other than the one known_hosts has is accepted for this connection only.
    bool keepAcceptedKey = true;
    // A file of certificates trusted besides the system's, or empty.
    std::string caFile;
};

// A SHA-256 sum, fed block by block.
class Sha256Sum {
public:
    virtual ~Sha256Sum() = default;
    virtual void Add(const char* data, std::size_t size) = 0;
    // 64 lower-case hex digits; the sum cannot be fed after.
    virtual std::string Hex() = 0;
};

// The desktop's keyring (Secret Service), keeping secrets by a key the program names.
class Keyring {
public:
    virtual ~Keyring() = default;
    // Nothing when it has none for the key, or no keyring answers.
    virtual std::optional<std::string> Find(const std::string& key) = 0;
    // False, with the reason, when no keyring keeps it.
    virtual bool Keep(const std::string& key, const std::string& label, const std::string& secret,
                      std::string& failure) = 0;
    virtual void Forget(const std::string& key) = 0;
};

// The network and checksum library, as publishing sees it. Connect, NewSum and the servers it
// makes may be used on any thread; Connect's servers poll `stop` at least once a second during
// every request and answer Stopped when it is raised.
class PublishLink {
public:
    virtual ~PublishLink() = default;
    virtual std::unique_ptr<PublishServer> Connect(const PublishTarget& target,
                                                   const ServerAccess& access,
                                                   const std::atomic<bool>& stop) = 0;
    virtual std::unique_ptr<Sha256Sum> NewSum() = 0;
    virtual Keyring& DesktopKeyring() = 0;
};

}  // namespace vistello
