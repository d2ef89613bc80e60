#include "demo/scene_painter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace vistello::demo {

namespace {

// Drawn the same way everywhere: the standard distributions may differ between libraries.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : m_engine(seed) {}
    double Unit() { return m_engine() / 4294967296.0; }
    double Between(double low, double high) { return low + (high - low) * Unit(); }

private:
    std::mt19937 m_engine;
};

QColor Mix(const QColor& from, const QColor& to, double amount) {
    const auto channel = [amount](int a, int b) {
        return static_cast<int>(std::lround(a + (b - a) * amount));
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

QColor WithAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

void PaintSky(QPainter& painter, const Scene& scene, QSizeF size) {
    QLinearGradient sky(0, 0, 0, size.height() * scene.horizon);
    sky.setColorAt(0, scene.skyTop);
    sky.setColorAt(0.55, Mix(scene.skyTop, scene.skyHorizon, 0.55));
    sky.setColorAt(1, scene.skyHorizon);
    painter.fillRect(QRectF(QPointF(0, 0), size), sky);
}

void PaintStars(QPainter& painter, const Scene& scene, QSizeF size, Noise& noise) {
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < scene.stars; ++i) {
        const QPointF at(noise.Unit() * size.width(),
                         std::pow(noise.Unit(), 1.6) * size.height() * scene.horizon);
        const double radius = 0.4 + 1.3 * std::pow(noise.Unit(), 3);
        painter.setBrush(WithAlpha(Qt::white, static_cast<int>(noise.Between(60, 255))));
        painter.drawEllipse(at, radius, radius);
    }
}

void PaintSun(QPainter& painter, const Scene& scene, QSizeF size) {
    const QPointF centre(scene.sunAt.x() * size.width(), scene.sunAt.y() * size.height());
    const double radius = scene.sunRadius * size.height();
    QRadialGradient glow(centre, radius * 6);
    glow.setColorAt(0, WithAlpha(scene.sun, 150));
    glow.setColorAt(0.25, WithAlpha(scene.sun, 50));
    glow.setColorAt(1, WithAlpha(scene.sun, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius * 6, radius * 6);
    painter.setBrush(scene.sun);
    painter.drawEllipse(centre, radius, radius);
}

// Midpoint displacement over a few broad waves: smooth hills with no ruggedness, peaks with more.
std::vector<double> RidgeLine(const Ridge& ridge, int points, Noise& noise) {
    std::vector<double> heights(static_cast<size_t>(points), 0);
    const double phase1 = noise.Between(0, 2 * std::numbers::pi);
    const double phase2 = noise.Between(0, 2 * std::numbers::pi);
    for (int i = 0; i < points; ++i) {
        const double x = static_cast<double>(i) / (points - 1);
        heights[static_cast<size_t>(i)] =
            0.6 * std::sin(x * 5.1 + phase1) + 0.4 * std::sin(x * 11.3 + phase2);
    }
    double spread = ridge.ruggedness;
    for (int step = (points - 1) / 2; step >= 1; step /= 2) {
        for (int i = step; i < points - 1; i += 2 * step) {
            auto& middle = heights[static_cast<size_t>(i)];
            middle =
                (heights[static_cast<size_t>(i - step)] + heights[static_cast<size_t>(i + step)]) /
                    2 +
                noise.Between(-spread, spread);
        }
        spread *= 0.55;
    }
    return heights;
}

void PaintPines(QPainter& painter, const QColor& color, const std::vector<QPointF>& line,
                double height, Noise& noise) {
    painter.setBrush(color.darker(135));
    for (size_t i = 0; i < line.size(); i += 1 + static_cast<size_t>(noise.Between(0, 4))) {
        const double tall = height * noise.Between(0.04, 0.09);
        const double wide = tall * 0.32;
        const QPointF foot = line[i] + QPointF(0, tall * 0.15);
        const QPointF tree[] = {foot + QPointF(-wide, 0), foot + QPointF(0, -tall),
                                foot + QPointF(wide, 0)};
        painter.drawPolygon(tree, 3);
    }
}

void PaintRidge(QPainter& painter, const Ridge& ridge, QSizeF size, Noise& noise) {
    constexpr int kPoints = 257;
    const std::vector<double> heights = RidgeLine(ridge, kPoints, noise);
    std::vector<QPointF> line;
    QPainterPath land(QPointF(0, size.height()));
    for (int i = 0; i < kPoints; ++i) {
        const QPointF at(
            size.width() * i / (kPoints - 1),
            size.height() * (ridge.baseline - ridge.amplitude * heights[static_cast<size_t>(i)]));
        land.lineTo(at);
        line.push_back(at);
    }
    land.lineTo(size.width(), size.height());
    land.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ridge.color);
    painter.drawPath(land);
    if (ridge.pines) PaintPines(painter, ridge.color, line, size.height(), noise);
}

// Haze gathers in the valley behind each ridge.
void PaintMist(QPainter& painter, const Scene& scene, const Ridge& ridge, QSizeF size) {
    const double bottom = size.height() * (ridge.baseline + ridge.amplitude);
    QLinearGradient mist(0, bottom - size.height() * 0.18, 0, bottom);
    mist.setColorAt(0, WithAlpha(scene.skyHorizon, 0));
    mist.setColorAt(1, WithAlpha(scene.skyHorizon, static_cast<int>(255 * scene.mist)));
    painter.fillRect(QRectF(0, 0, size.width(), bottom), mist);
}

void PaintWater(QPainter& painter, const Scene& scene, QSizeF size, Noise& noise) {
    const double top = size.height() * scene.horizon;
    QLinearGradient water(0, top, 0, size.height());
    water.setColorAt(0, Mix(*scene.water, scene.skyHorizon, 0.45));
    water.setColorAt(1, scene.water->darker(160));
    painter.fillRect(QRectF(0, top, size.width(), size.height() - top), water);
    // The sun's path on the water: short strokes that widen towards the viewer.
    const double sunX = scene.sunAt.x() * size.width();
    for (int i = 0; i < 140; ++i) {
        const double depth = noise.Unit();
        const double y = top + depth * (size.height() - top);
        const double half = size.height() * (0.01 + 0.06 * depth) * noise.Between(0.3, 1);
        const double x = sunX + noise.Between(-1, 1) * size.height() * (0.02 + 0.1 * depth);
        painter.setPen(
            QPen(WithAlpha(scene.sun, static_cast<int>(noise.Between(40, 170))), 1.2 + 2 * depth));
        painter.drawLine(QPointF(x - half, y), QPointF(x + half, y));
    }
}

}  // namespace

QImage PaintScene(const Scene& scene, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF area(size);
    Noise noise(scene.seed);
    PaintSky(painter, scene, area);
    PaintStars(painter, scene, area, noise);
    PaintSun(painter, scene, area);
    for (const Ridge& ridge : scene.ridges) {
        if (scene.mist > 0) PaintMist(painter, scene, ridge, area);
        PaintRidge(painter, ridge, area, noise);
    }
    // The water lies in front of the land, and covers a sun that is setting into it.
    if (scene.water) PaintWater(painter, scene, area, noise);
    return image;
}

}  // namespace vistello::demo
