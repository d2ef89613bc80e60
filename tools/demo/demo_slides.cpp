#include "demo/demo_slides.h"

namespace vistello::demo {

namespace {

// Ridges: colour, baseline, amplitude, ruggedness and pines, from far to near.
Scene Dawn() {
    return {.skyTop = QColor(0x2c, 0x3e, 0x78),
            .skyHorizon = QColor(0xf6, 0xb8, 0xa2),
            .sun = QColor(0xff, 0xf1, 0xc9),
            .sunAt = {0.68, 0.46},
            .sunRadius = 0.045,
            .horizon = 0.7,
            .ridges = {{QColor(0x9a, 0x8c, 0xb4), 0.48, 0.1, 0.4},
                       {QColor(0x6d, 0x66, 0x96), 0.6, 0.11, 0.3},
                       {QColor(0x45, 0x45, 0x72), 0.75, 0.1, 0.25},
                       {QColor(0x26, 0x2a, 0x4c), 0.9, 0.08, 0.15}},
            .mist = 0.55,
            .seed = 11};
}

Scene LakeAtNoon() {
    return {.skyTop = QColor(0x2f, 0x7f, 0xd0),
            .skyHorizon = QColor(0xcf, 0xe9, 0xf7),
            .sun = QColor(0xff, 0xfb, 0xe8),
            .sunAt = {0.24, 0.16},
            .sunRadius = 0.05,
            .horizon = 0.66,
            .ridges = {{QColor(0x8f, 0xae, 0xc0), 0.55, 0.09, 0.45},
                       {QColor(0x5f, 0x9a, 0x6a), 0.63, 0.06, 0.1},
                       {QColor(0x3f, 0x7d, 0x4a), 0.67, 0.04, 0.05, true}},
            .water = QColor(0x2a, 0x6f, 0xa8),
            .mist = 0.25,
            .seed = 23};
}

Scene AutumnValley() {
    return {.skyTop = QColor(0x5b, 0x8d, 0xc4),
            .skyHorizon = QColor(0xf7, 0xdd, 0xb0),
            .sun = QColor(0xff, 0xe6, 0xa8),
            .sunAt = {0.18, 0.3},
            .sunRadius = 0.05,
            .horizon = 0.7,
            .ridges = {{QColor(0xc9, 0x9a, 0x7c), 0.52, 0.1, 0.4},
                       {QColor(0xd2, 0x6a, 0x2e), 0.68, 0.08, 0.12},
                       {QColor(0xa8, 0x3c, 0x24), 0.8, 0.07, 0.1, true},
                       {QColor(0x5e, 0x2a, 0x1c), 0.93, 0.05, 0.05, true}},
            .mist = 0.3,
            .seed = 37};
}

Scene SunsetAtSea() {
    return {.skyTop = QColor(0x3b, 0x1f, 0x5c),
            .skyHorizon = QColor(0xff, 0x9a, 0x4a),
            .sun = QColor(0xff, 0xd0, 0x6b),
            .sunAt = {0.5, 0.64},
            .sunRadius = 0.075,
            .horizon = 0.64,
            .ridges = {{QColor(0x6a, 0x36, 0x5c), 0.63, 0.03, 0.2}},
            .water = QColor(0x6b, 0x2f, 0x52),
            .seed = 41};
}

Scene BlueHour() {
    return {.skyTop = QColor(0x0e, 0x16, 0x3d),
            .skyHorizon = QColor(0x8a, 0x7f, 0xc0),
            .sun = QColor(0xf4, 0xf0, 0xff),
            .sunAt = {0.8, 0.2},
            .sunRadius = 0.012,
            .horizon = 0.7,
            .ridges = {{QColor(0x5f, 0x5a, 0x98), 0.5, 0.16, 0.9},
                       {QColor(0x3b, 0x38, 0x70), 0.66, 0.12, 0.7},
                       {QColor(0x1c, 0x1b, 0x40), 0.86, 0.08, 0.3}},
            .stars = 30,
            .mist = 0.35,
            .seed = 53};
}

Scene NightOnTheRidge() {
    return {.skyTop = QColor(0x03, 0x06, 0x14),
            .skyHorizon = QColor(0x1a, 0x2c, 0x52),
            .sun = QColor(0xf2, 0xf0, 0xe4),
            .sunAt = {0.27, 0.24},
            .sunRadius = 0.04,
            .horizon = 0.8,
            .ridges = {{QColor(0x10, 0x18, 0x30), 0.72, 0.1, 0.6},
                       {QColor(0x05, 0x08, 0x12), 0.86, 0.06, 0.2, true}},
            .stars = 900,
            .seed = 67};
}

}  // namespace

const std::vector<DemoSlide>& DemoSlides() {
    static const std::vector<DemoSlide> slides = {
        {"dawn.jpg", "Dawn over the Hills", "Layered blue hills under a pink morning sky",
         "dawn, hills, mist",
         "The first light climbs over the ridges while mist still lies in the valleys.", Dawn()},
        {"lake.jpg", "Lake at Noon", "Green hills and pines around a calm blue lake",
         "lake, summer, hills",
         "A clear summer day: the sun stands high and the water barely moves.", LakeAtNoon()},
        {"autumn.jpg", "Autumn Valley", "Orange and red slopes with dark pine trees",
         "autumn, forest, valley", "Late afternoon light warms the slopes of the valley.",
         AutumnValley()},
        {"sunset.jpg", "Sunset at Sea", "An orange sun sinking into a calm sea",
         "sunset, sea, evening", "The sun touches the water and the whole sea turns to copper.",
         SunsetAtSea()},
        {"dusk.jpg", "Blue Hour", "Violet mountains under a deep blue evening sky",
         "dusk, mountains", "After sunset the mountains turn violet and the first stars appear.",
         BlueHour()},
        {"night.png", "Night on the Ridge", "A starry sky and a bright moon above a dark ridge",
         "night, stars, moon",
         "A clear night far from any town, with more stars than anyone could count.",
         NightOnTheRidge()},
    };
    return slides;
}

}  // namespace vistello::demo
