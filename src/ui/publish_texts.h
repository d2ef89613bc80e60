#pragma once

#include <string>

#include "media/publish_link.h"
#include "publish/site_publisher.h"

namespace vistello {

// What the window says while and after a site is published; the words only, no boxes.

// "12 of 340 files, 3.4 of 51.0 MB"; before the files to send are known, that the site is being
// compared with the server.
std::string PublishProgressLine(const PublishStatus& status);

// How far the bar stands, of kPublishProgressSteps: by bytes, or by files where none are sent.
inline constexpr int kPublishProgressSteps = 1000;
int PublishProgressDone(const PublishStatus& status);

// "Connected to <address>." or why not.
std::string ConnectionText(const ServerAnswer& answer, const std::string& address);

// The closing box of a publish.
std::string PublishReportText(const PublishReport& report);

// Whether to trust the host key the server showed (HostUnknown or HostChanged).
std::string HostKeyQuestion(const ServerAnswer& answer, const std::string& host);

// Whether the files the site no longer has may leave the server.
std::string RemovalsQuestion(const PublishReport& report);

// What the password dialog asks for, and why.
std::string PasswordPrompt(const PublishTarget& target, bool refused);

// The reason a refused address gives, as a sentence for a box.
std::string AddressRefusal(const std::string& reason);

}  // namespace vistello
