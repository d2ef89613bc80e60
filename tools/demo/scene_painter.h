#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <cstdint>
#include <optional>
#include <vector>

namespace vistello::demo {

// One band of land, drawn as a silhouette from its ridge line down to the bottom of the picture.
// Heights and positions are fractions of the picture's height.
struct Ridge {
    QColor color;
    double baseline = 0.6;
    double amplitude = 0.1;
    // 0 gives rolling hills; 1 gives jagged peaks.
    double ruggedness = 0;
    bool pines = false;
};

// A landscape made of a sky, a sun or moon, ridges from far to near and, if set, water below
// the horizon.
struct Scene {
    QColor skyTop;
    QColor skyHorizon;
    QColor sun;
    QPointF sunAt;  // as fractions of the width and height
    double sunRadius = 0.05;
    double horizon = 0.7;
    std::vector<Ridge> ridges;
    std::optional<QColor> water = std::nullopt;
    int stars = 0;
    double mist = 0;
    std::uint32_t seed = 1;
};

// The same scene and size always give the same picture.
QImage PaintScene(const Scene& scene, QSize size);

}  // namespace vistello::demo
