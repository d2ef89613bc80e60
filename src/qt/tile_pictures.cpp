#include "qt/tile_pictures.h"

#include <QImageReader>
#include <QMetaObject>
#include <QRunnable>
#include <utility>

namespace vistello {

namespace {

// Room for about a thousand tiles of the usual size: a few screens' worth either way.
constexpr qsizetype kKeptKilobytes = 96 * 1024;
// More than a few screens' worth waiting, and the oldest were scrolled past.
constexpr size_t kMostWaiting = 256;

// A file that cannot be read, or is larger than Qt allows itself to decode, gives a null image.
QImage ReadScaled(const QString& file, int side) {
    QImageReader reader(file);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > side || size.height() > side))
        reader.setScaledSize(size.scaled(side, side, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull()) return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

}  // namespace

TilePictures::TilePictures(QObject* parent) : QObject(parent) {
    m_read.setMaxCost(kKeptKilobytes);
    m_readers.setMaxThreadCount(1);
}

// What is under way is let finish; what it finds is dropped with this object.
TilePictures::~TilePictures() {
    m_readers.clear();
    m_readers.waitForDone();
}

QImage TilePictures::Picture(const QString& file, int side) {
    const Read* read = m_read.object(file);
    if (read == nullptr || read->side != side) Start(file, side);
    return read != nullptr ? read->image : QImage();
}

// The tiles asked for last are those in sight now: each reader takes the newest file waiting.
// Those asked for long ago were scrolled past and are given up; drawn again, they are asked again.
void TilePictures::Start(const QString& file, int side) {
    const auto reading = m_reading.constFind(file);
    if (reading != m_reading.constEnd() && reading.value() == side) return;
    m_reading.insert(file, side);
    {
        const std::lock_guard lock(m_waitingMutex);
        m_waiting.push_back({file, side});
        if (m_waiting.size() > kMostWaiting) {
            m_reading.remove(m_waiting.front().file);
            m_waiting.pop_front();
        }
    }
    m_readers.start([this] { ReadNewest(); });
}

void TilePictures::ReadNewest() {
    Waiting newest;
    {
        const std::lock_guard lock(m_waitingMutex);
        if (m_waiting.empty()) return;
        newest = std::move(m_waiting.back());
        m_waiting.pop_back();
    }
    const QImage image = ReadScaled(newest.file, newest.side);
    QMetaObject::invokeMethod(
        this, [this, newest, image] { Take(newest.file, newest.side, image); },
        Qt::QueuedConnection);
}

// A file that gave nothing is kept as nothing, so that it is not read again at every paint.
void TilePictures::Take(const QString& file, int side, const QImage& image) {
    const auto reading = m_reading.constFind(file);
    if (reading == m_reading.constEnd() || reading.value() != side) return;
    m_reading.erase(reading);
    m_read.insert(file, new Read{image, side}, std::max<qsizetype>(image.sizeInBytes() / 1024, 1));
    emit arrived();
}

}  // namespace vistello
