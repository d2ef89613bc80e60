#pragma once

#include <string>
#include <vector>

#include "demo/scene_painter.h"

namespace vistello::demo {

// A sample picture and the page texts that go with it in the demo project.
struct DemoSlide {
    std::string fileName;
    std::string title;
    std::string alt;
    std::string keywords;
    std::string description;
    Scene scene;
};

// The demo's slides in show order. Their texts go into pages as typed, so they hold nothing that
// HTML would read as markup.
const std::vector<DemoSlide>& DemoSlides();

}  // namespace vistello::demo
