#pragma once

namespace vistello {

class ImageMaker;
class PhotoReader;
class WindowSystem;

// Start-up and shutdown around the main window.
class CSlideShowApp {
public:
    // Runs the main window until it ends, reading photos' details with `photos` and making web
    // images with `images`; the program ends afterwards.
    bool InitInstance(WindowSystem& system, PhotoReader& photos, ImageMaker& images);
};

}  // namespace vistello
