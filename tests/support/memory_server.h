#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "media/publish_link.h"
#include "support/temp_dir.h"
#include "text/digest.h"

namespace vistello::testing {

// A server in memory that every connection shares, with the faults a test asks for.
struct MemoryServerState {
    std::mutex mutex;
    std::map<std::string, std::string> files;
    // Names in the order they were sent, and removed.
    std::vector<std::string> sent;
    std::vector<std::string> removed;
    // After this many more sends every request breaks, as a server that went away.
    int sendsBeforeDown = -1;
    // The next sends break once each, as a dropped connection would.
    int dropsLeft = 0;
    // The next logins break once each.
    int loginDropsLeft = 0;
    // Sends of this name are refused.
    std::string denied;
    // Listed at this size instead of its own.
    std::string listedWrong;
    int opens = 0;
};

class MemoryServer final : public PublishServer {
public:
    explicit MemoryServer(MemoryServerState& state) : m_state(state) {}

    ServerAnswer Open() override {
        std::lock_guard lock(m_state.mutex);
        ++m_state.opens;
        if (m_state.loginDropsLeft > 0) {
            --m_state.loginDropsLeft;
            return Broken();
        }
        return Down() ? Broken() : ServerAnswer{};
    }
    ServerAnswer Fetch(const std::string& name, std::string& bytes) override {
        std::lock_guard lock(m_state.mutex);
        if (Down()) return Broken();
        auto found = m_state.files.find(name);
        if (found == m_state.files.end()) return {ServerAnswer::Kind::Missing, "no such file", {}};
        bytes = found->second;
        return {};
    }
    ServerAnswer Send(const std::string& name, const SendSource& source,
                      const SendProgress& progress) override {
        const std::string bytes = source.inMemory ? source.bytes : ReadBytes(source.path);
        if (!progress(bytes.size() / 2)) return {ServerAnswer::Kind::Stopped, "stopped", {}};
        std::lock_guard lock(m_state.mutex);
        if (Down()) return Broken();
        if (m_state.dropsLeft > 0) {
            --m_state.dropsLeft;
            return Broken();
        }
        if (name == m_state.denied) return {ServerAnswer::Kind::Denied, "Permission denied", {}};
        if (m_state.sendsBeforeDown > 0) --m_state.sendsBeforeDown;
        m_state.files[name] = bytes;
        m_state.sent.push_back(name);
        return {};
    }
    ServerAnswer Remove(const std::string& name) override {
        std::lock_guard lock(m_state.mutex);
        if (Down()) return Broken();
        m_state.removed.push_back(name);
        return m_state.files.erase(name) ? ServerAnswer{}
                                         : ServerAnswer{ServerAnswer::Kind::Missing, "gone", {}};
    }
    ServerAnswer RemoveFolder(const std::string&) override { return {}; }
    ServerAnswer List(std::vector<ServerFile>& files) override {
        std::lock_guard lock(m_state.mutex);
        if (Down()) return Broken();
        for (const auto& [name, bytes] : m_state.files)
            files.push_back({name, name == m_state.listedWrong ? 1u : bytes.size()});
        return {};
    }

private:
    bool Down() const { return m_state.sendsBeforeDown == 0; }
    static ServerAnswer Broken() { return {ServerAnswer::Kind::Broken, "Connection refused", {}}; }

    MemoryServerState& m_state;
};

// Sums made of the program's own digest: what matters here is that equal bytes sum equal.
class DigestSum final : public Sha256Sum {
public:
    void Add(const char* data, std::size_t size) override { m_bytes.append(data, size); }
    std::string Hex() override { return Digest(m_bytes) + Digest(m_bytes + "+"); }

private:
    std::string m_bytes;
};

class NoKeyring final : public Keyring {
public:
    std::optional<std::string> Find(const std::string& key) override {
        auto found = kept.find(key);
        return found == kept.end() ? std::nullopt : std::optional(found->second);
    }
    bool Keep(const std::string& key, const std::string&, const std::string& secret,
              std::string&) override {
        kept[key] = secret;
        return true;
    }
    void Forget(const std::string& key) override { kept.erase(key); }

    std::map<std::string, std::string> kept;
};

class MemoryLink final : public PublishLink {
public:
    std::unique_ptr<PublishServer> Connect(const PublishTarget&, const ServerAccess&,
                                           const std::atomic<bool>&) override {
        return std::make_unique<MemoryServer>(state);
    }
    std::unique_ptr<Sha256Sum> NewSum() override { return std::make_unique<DigestSum>(); }
    Keyring& DesktopKeyring() override { return keyring; }

    MemoryServerState state;
    NoKeyring keyring;
};

}  // namespace vistello::testing
