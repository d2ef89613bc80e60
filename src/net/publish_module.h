#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/publish_link.h"

namespace vistello {

// The network module's one entry point: extern "C" PublishLink* vistello_publish_link().
inline constexpr const char* kPublishLinkEntry = "vistello_publish_link";

// The network, crypto and keyring libraries, loaded from their own module the first time a site
// is published, so that a start that publishes nothing does not load them. When the module cannot
// be loaded, every server answers Failed with the reason, sums are empty and no keyring answers.
class PublishModule final : public PublishLink {
public:
    // The places the module may be, tried in order, unless the program carries it itself.
    explicit PublishModule(std::vector<std::string> places);
    std::unique_ptr<PublishServer> Connect(const PublishTarget& target, const ServerAccess& access,
                                           const std::atomic<bool>& stop) override;
    std::unique_ptr<Sha256Sum> NewSum() override;
    Keyring& DesktopKeyring() override;

private:
    PublishLink* Load();

    std::vector<std::string> m_places;
    std::once_flag m_loaded;
    PublishLink* m_link = nullptr;
    std::string m_failure;
    std::unique_ptr<Keyring> m_noKeyring;
};

// The program's own link: the module where it is installed, else beside the program as in the
// build folder. Made on first use; lives as long as the program.
PublishLink& ProgramPublishLink();

}  // namespace vistello
