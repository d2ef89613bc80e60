#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "media/publish_link.h"
#include "support/temp_dir.h"

namespace vistello::testing {

// A keyring in memory; one that refuses says why, as a desktop without a keyring does.
class FakeKeyring : public Keyring {
public:
    std::optional<std::string> Find(const std::string& key) override {
        const auto it = secrets.find(key);
        if (it == secrets.end()) return std::nullopt;
        return it->second;
    }
    bool Keep(const std::string& key, const std::string&, const std::string& secret,
              std::string& failure) override {
        ++keeps;
        if (refuses) {
            failure = "no keyring answers";
            return false;
        }
        secrets[key] = secret;
        return true;
    }
    void Forget(const std::string& key) override { secrets.erase(key); }

    std::map<std::string, std::string> secrets;
    bool refuses = false;
    int keeps = 0;
};

// One server in memory, shared by every connection made to it. It asks for what a real one
// asks: a host key the user accepted when it has one, and a password when it has one.
struct FakeServerState {
    std::mutex lock;
    // Relative names and their bytes.
    std::map<std::string, std::string> files;
    // Shown as not in known_hosts (or as changed) until accepted.
    std::string hostKey;
    bool hostKeyChanged = false;
    // Required when set.
    std::string password;
    // What each login was offered, in turn.
    std::vector<ServerAccess> logins;
    // Called before each file is sent, with its name and the run's stop flag.
    std::function<void(const std::string&, const std::atomic<bool>&)> onSend;
};

class FakePublishServer : public PublishServer {
public:
    FakePublishServer(FakeServerState& state, ServerAccess access, const std::atomic<bool>& stop)
        : m_state(state), m_access(std::move(access)), m_stop(stop) {}

    ServerAnswer Open() override {
        std::lock_guard<std::mutex> hold(m_state.lock);
        m_state.logins.push_back(m_access);
        if (!m_state.hostKey.empty() && m_access.acceptedFingerprint != m_state.hostKey) {
            using Kind = ServerAnswer::Kind;
            return {m_state.hostKeyChanged ? Kind::HostChanged : Kind::HostUnknown,
                    "host key not trusted", m_state.hostKey};
        }
        if (!m_state.password.empty() && m_access.password != m_state.password)
            return {ServerAnswer::Kind::LoginRefused, "530 Login incorrect.", ""};
        return {};
    }
    ServerAnswer Fetch(const std::string& name, std::string& bytes) override {
        std::lock_guard<std::mutex> hold(m_state.lock);
        const auto it = m_state.files.find(name);
        if (it == m_state.files.end()) return {ServerAnswer::Kind::Missing, "no such file", ""};
        bytes = it->second;
        return {};
    }
    ServerAnswer Send(const std::string& name, const SendSource& source,
                      const SendProgress& progress) override {
        if (m_state.onSend) m_state.onSend(name, m_stop);
        if (m_stop) return {ServerAnswer::Kind::Stopped, "", ""};
        const std::string bytes = source.inMemory ? source.bytes : ReadBytes(source.path);
        if (progress && !progress(bytes.size())) return {ServerAnswer::Kind::Stopped, "", ""};
        std::lock_guard<std::mutex> hold(m_state.lock);
        m_state.files[name] = bytes;
        return {};
    }
    ServerAnswer Remove(const std::string& name) override {
        std::lock_guard<std::mutex> hold(m_state.lock);
        if (m_state.files.erase(name) == 0) return {ServerAnswer::Kind::Missing, "", ""};
        return {};
    }
    ServerAnswer RemoveFolder(const std::string&) override { return {}; }
    ServerAnswer List(std::vector<ServerFile>& files) override {
        std::lock_guard<std::mutex> hold(m_state.lock);
        files.clear();
        for (const auto& [name, bytes] : m_state.files) files.push_back({name, bytes.size()});
        return {};
    }

private:
    FakeServerState& m_state;
    ServerAccess m_access;
    const std::atomic<bool>& m_stop;
};

// Not SHA-256, but as particular to the bytes for a test: four differently seeded FNV-1a sums.
class FakeSum : public Sha256Sum {
public:
    void Add(const char* data, std::size_t size) override {
        for (std::size_t i = 0; i < size; ++i) {
            for (std::uint64_t& sum : m_sums) {
                sum ^= static_cast<unsigned char>(data[i]);
                sum *= 1099511628211ULL;
            }
        }
    }
    std::string Hex() override {
        std::string hex;
        char digits[17];
        for (const std::uint64_t sum : m_sums) {
            std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(sum));
            hex += digits;
        }
        return hex;
    }

private:
    std::uint64_t m_sums[4] = {14695981039346656037ULL, 1, 2, 3};
};

// Every target reaches the same server in memory.
class FakePublishLink : public PublishLink {
public:
    std::unique_ptr<PublishServer> Connect(const PublishTarget& target, const ServerAccess& access,
                                           const std::atomic<bool>& stop) override {
        {
            std::lock_guard<std::mutex> hold(server.lock);
            targets.push_back(target.address);
        }
        return std::make_unique<FakePublishServer>(server, access, stop);
    }
    std::unique_ptr<Sha256Sum> NewSum() override { return std::make_unique<FakeSum>(); }
    Keyring& DesktopKeyring() override { return keyring; }

    FakeServerState server;
    FakeKeyring keyring;
    std::vector<std::string> targets;
};

}  // namespace vistello::testing
