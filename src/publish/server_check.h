#pragma once

#include <string>
#include <vector>

#include "media/publish_link.h"
#include "publish/publish_manifest.h"
#include "publish/site_files.h"

namespace vistello {

struct ServerCheck {
    // Done when the server could be listed.
    ServerAnswer answer;
    // Site files the server lacks or holds at another size.
    std::vector<std::string> wrong;
    // A line for each, as the user reads it.
    std::vector<std::string> differences;
};

// Lists the server and compares it with the site as sent; removes the temporaries an ended
// publish left behind. Files the program did not send are none of its business.
ServerCheck CheckServer(PublishServer& server, const std::vector<SiteFile>& site,
                        const ServerManifest& known);

// Whether a name is a temporary a transfer writes before renaming it into place.
bool IsSendTemporary(std::string_view name);

}  // namespace vistello
