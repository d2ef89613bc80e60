#pragma once

#include <string>

namespace vistello {

class ClipMaker;
class ImageMaker;
class PhotoReader;
class WindowSystem;

// Start-up and shutdown around the main window.
class CSlideShowApp {
public:
    // Runs the main window until it ends, reading photos' details with `photos`, making web
    // images with `images` and web versions of clips with `clips`, noting where projects are in
    // `placesFile`; the program ends afterwards.
    bool InitInstance(WindowSystem& system, PhotoReader& photos, ImageMaker& images,
                      ClipMaker* clips = nullptr, const std::string& placesFile = {});
};

}  // namespace vistello
