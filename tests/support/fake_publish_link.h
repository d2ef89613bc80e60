#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "media/publish_link.h"
#include "support/memory_server.h"

namespace vistello::testing {

// A keyring in memory; one that refuses says why, as a desktop without a keyring does.
class FakeKeyring : public Keyring {
public:
    std::optional<std::string> Find(const std::string& key) override {
        const auto it = secrets.find(key);
        if (it == secrets.end()) return std::nullopt;
        return it->second;
    }
    bool Keep(const std::string& key, const std::string& label, const std::string& secret,
              std::string& failure) override {
        ++keeps;
        labels.push_back(label);
        if (refuses) {
            failure = "no keyring answers";
            return false;
        }
        secrets[key] = secret;
        return true;
    }
    void Forget(const std::string& key) override { secrets.erase(key); }

    std::map<std::string, std::string> secrets;
    // What the keyring shows beside each secret it was asked to keep.
    std::vector<std::string> labels;
    bool refuses = false;
    int keeps = 0;
};

// What the server in memory asks of a login, as a real one asks it.
struct FakeLogin {
    std::mutex lock;
    // Shown as not in known_hosts, or as changed, until the user accepts it.
    std::string hostKey;
    bool hostKeyChanged = false;
    // Required when set.
    std::string password;
    // What each login was offered, in turn.
    std::vector<ServerAccess> offered;
    // Called before each file is sent, with its name and the run's stop flag.
    std::function<void(const std::string&, const std::atomic<bool>&)> onSend;
};

// The server in memory behind a login, which hears the run's stop flag.
class FakeLoginServer : public PublishServer {
public:
    FakeLoginServer(MemoryServerState& files, FakeLogin& login, ServerAccess access,
                    const std::atomic<bool>& stop)
        : m_files(files), m_login(login), m_access(std::move(access)), m_stop(stop) {}

    ServerAnswer Open() override {
        {
            std::lock_guard<std::mutex> hold(m_login.lock);
            m_login.offered.push_back(m_access);
            if (!m_login.hostKey.empty() && m_access.acceptedFingerprint != m_login.hostKey) {
                using Kind = ServerAnswer::Kind;
                return {m_login.hostKeyChanged ? Kind::HostChanged : Kind::HostUnknown,
                        "host key not trusted", m_login.hostKey};
            }
            if (!m_login.password.empty() && m_access.password != m_login.password)
                return {ServerAnswer::Kind::LoginRefused, "530 Login incorrect.", ""};
        }
        return m_files.Open();
    }
    ServerAnswer Fetch(const std::string& name, std::string& bytes) override {
        return m_files.Fetch(name, bytes);
    }
    ServerAnswer Send(const std::string& name, const SendSource& source,
                      const SendProgress& progress) override {
        if (m_login.onSend) m_login.onSend(name, m_stop);
        if (m_stop) return {ServerAnswer::Kind::Stopped, "stopped", ""};
        return m_files.Send(name, source, progress);
    }
    ServerAnswer Remove(const std::string& name) override { return m_files.Remove(name); }
    ServerAnswer RemoveFolder(const std::string& name) override {
        return m_files.RemoveFolder(name);
    }
    ServerAnswer List(std::vector<ServerFile>& files) override { return m_files.List(files); }

private:
    MemoryServer m_files;
    FakeLogin& m_login;
    ServerAccess m_access;
    const std::atomic<bool>& m_stop;
};

// Every target reaches the same server in memory.
class FakePublishLink : public PublishLink {
public:
    std::unique_ptr<PublishServer> Connect(const PublishTarget& target, const ServerAccess& access,
                                           const std::atomic<bool>& stop) override {
        {
            std::lock_guard<std::mutex> hold(login.lock);
            targets.push_back(target.address);
        }
        return std::make_unique<FakeLoginServer>(server, login, access, stop);
    }
    std::unique_ptr<Sha256Sum> NewSum() override { return std::make_unique<DigestSum>(); }
    Keyring& DesktopKeyring() override { return keyring; }

    MemoryServerState server;
    FakeLogin login;
    FakeKeyring keyring;
    std::vector<std::string> targets;
};

}  // namespace vistello::testing
