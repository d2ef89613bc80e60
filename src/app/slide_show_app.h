#pragma once

#include <string>

#include "media/publish_link.h"
#include "site/site_writer.h"

namespace vistello {

class ClipMaker;
class ImageMaker;
class PhotoReader;
class ThumbnailService;
class WindowSystem;

// Publishing from the window: the network library, what this machine offers every login (see
// MachineAccess) and where it keeps what it published (see PublishedFolder).
struct WindowPublishing {
    PublishLink& link;
    ServerAccess machine;
    std::string manifestFolder;
};

// Start-up and shutdown around the main window.
class CSlideShowApp {
public:
    // Runs the main window until it ends, reading photos' details with `photos`, making web
    // images with `images` and web versions of clips with `clips`, noting where projects are in
    // `placesFile`, publishing through `publishing` where there is one, sealing private albums
    // with the cipher `cipher` loads, and showing thumbnails from `thumbnails` where there are
    // some; the program ends afterwards.
    bool InitInstance(WindowSystem& system, PhotoReader& photos, ImageMaker& images,
                      ClipMaker* clips = nullptr, const std::string& placesFile = {},
                      const WindowPublishing* publishing = nullptr,
                      const CipherLoader& cipher = {}, ThumbnailService* thumbnails = nullptr);
};

}  // namespace vistello
