#pragma once

namespace vistello {

class WindowSystem;

// Start-up and shutdown around the main window.
class CSlideShowApp {
public:
    // Runs the main window until it ends; the program ends afterwards.
    bool InitInstance(WindowSystem& system);
};

}  // namespace vistello
