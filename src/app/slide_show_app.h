#pragma once

namespace vistello {

class PhotoReader;
class WindowSystem;

// Start-up and shutdown around the main window.
class CSlideShowApp {
public:
    // Runs the main window until it ends, reading photos' details with `photos`; the program
    // ends afterwards.
    bool InitInstance(WindowSystem& system, PhotoReader& photos);
};

}  // namespace vistello
