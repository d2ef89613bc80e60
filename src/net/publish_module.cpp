#include "net/publish_module.h"

#include <filesystem>
#include <utility>

#include "files/module_entry.h"

namespace vistello {

namespace {

using Entry = PublishLink* (*)();

// Each call says why the module is missing.
class UnloadedServer final : public PublishServer {
public:
    explicit UnloadedServer(std::string failure) : m_failure(std::move(failure)) {}
    ServerAnswer Open() override { return Failure(); }
    ServerAnswer Fetch(const std::string&, std::string&) override { return Failure(); }
    ServerAnswer Send(const std::string&, const SendSource&, const SendProgress&) override {
        return Failure();
    }
    ServerAnswer Remove(const std::string&) override { return Failure(); }
    ServerAnswer RemoveFolder(const std::string&) override { return Failure(); }
    ServerAnswer List(std::vector<ServerFile>&) override { return Failure(); }

private:
    ServerAnswer Failure() const {
        ServerAnswer answer;
        answer.kind = ServerAnswer::Kind::Failed;
        answer.reason = m_failure;
        return answer;
    }

    std::string m_failure;
};

class UnloadedSum final : public Sha256Sum {
public:
    void Add(const char*, std::size_t) override {}
    std::string Hex() override { return {}; }
};

class UnloadedKeyring final : public Keyring {
public:
    explicit UnloadedKeyring(const std::string& failure) : m_failure(failure) {}
    std::optional<std::string> Find(const std::string&) override { return std::nullopt; }
    bool Keep(const std::string&, const std::string&, const std::string&,
              std::string& failure) override {
        failure = m_failure;
        return false;
    }
    void Forget(const std::string&) override {}

private:
    const std::string& m_failure;
};

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace

PublishModule::PublishModule(std::vector<std::string> places)
    : m_places(std::move(places)), m_noKeyring(std::make_unique<UnloadedKeyring>(m_failure)) {}

PublishLink* PublishModule::Load() {
    std::call_once(m_loaded, [this] {
        if (auto entry = reinterpret_cast<Entry>(
                FindModuleEntry(m_places, kPublishLinkEntry, "a network", m_failure))) {
            m_link = entry();
            return;
        }
        m_failure = "the network library could not be loaded: " + m_failure;
    });
    return m_link;
}

std::unique_ptr<PublishServer> PublishModule::Connect(const PublishTarget& target,
                                                      const ServerAccess& access,
                                                      const std::atomic<bool>& stop) {
    PublishLink* link = Load();
    if (link == nullptr) return std::make_unique<UnloadedServer>(m_failure);
    return link->Connect(target, access, stop);
}

std::unique_ptr<Sha256Sum> PublishModule::NewSum() {
    PublishLink* link = Load();
    if (link == nullptr) return std::make_unique<UnloadedSum>();
    return link->NewSum();
}

Keyring& PublishModule::DesktopKeyring() {
    PublishLink* link = Load();
    return link != nullptr ? link->DesktopKeyring() : *m_noKeyring;
}

PublishLink& ProgramPublishLink() {
    static PublishModule link([] {
        const std::filesystem::path folder = ProgramFolder();
        return std::vector<std::string>{
            (folder / VISTELLO_MODULE_FROM_PROGRAM / "vistello-publish.so").string(),
            (folder / "vistello-publish.so").string()};
    }());
    return link;
}

}  // namespace vistello
