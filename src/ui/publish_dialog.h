#pragma once

#include <optional>
#include <string>

#include "files/file_ops.h"
#include "framework/dialog.h"
#include "media/publish_link.h"
#include "publish/site_publisher.h"

namespace vistello {

// What a publish from the window is sent with, besides the address.
struct PublishPlaces {
    // The generated site, as the project names it; empty for the current folder.
    std::string outputFolder;
    // This machine's ssh folder, agent and extra certificates; never a secret.
    ServerAccess machine;
    // Where this machine keeps what it published to each target.
    std::string manifestFolder;
};

// File > Publish: the target's address, Test Connection, and Publish with its progress, its
// questions and its report. Secrets come from the desktop's keyring, or from the user, who may
// have the keyring keep them; none reaches the project.
class CPublishDialog : public CDialog {
public:
    // `keyringFailureTold` is set once the user has heard that the keyring cannot keep a
    // password, which is said once while the program runs.
    CPublishDialog(std::string address, PublishLink& link, FileOps& files, PublishPlaces places,
                   bool& keyringFailureTold);

    // The address the project is to keep: the last one Publish was pressed with, or none.
    const std::optional<std::string>& PublishedTo() const { return m_publishedTo; }

protected:
    void DoDataExchange(CDataExchange& dx) override;
    // Enter publishes; the window closes once the server holds the site.
    void OnOK() override;

private:
    // What one press of a button learns from the user, each question asked once.
    struct Attempt {
        PublishTarget target;
        ServerAccess access;
        bool askedHostKey = false;
        bool askedPassword = false;
        bool askedRemovals = false;
        // A secret the user typed, to be kept once the server has taken it.
        bool keepTyped = false;
        bool keepAccessKey = false;
    };
    enum class Reply { Retry, Declined, Unasked };

    void OnTestConnection();
    std::optional<Attempt> Begin();
    bool HasGeneratedSite(const std::string& folder) const;
    std::string SiteFolder() const;
    PublishReport Send(const PublishRequest& request);

    // Credentials (publish_dialog_access.cpp).
    bool FillSecret(Attempt& attempt);
    bool AskPassword(Attempt& attempt, bool refused);
    Reply Settle(const ServerAnswer& answer, Attempt& attempt);
    void KeepTyped(const Attempt& attempt, ServerAnswer::Kind last);

    std::string m_address;
    PublishLink& m_link;
    FileOps& m_files;
    PublishPlaces m_places;
    std::optional<std::string> m_publishedTo;
    bool& m_keyringFailureTold;
};

}  // namespace vistello
