#include "qt/tile_pictures.h"

#include <QImageReader>
#include <QMetaObject>
#include <QRunnable>

namespace vistello {

namespace {

// Room for about a thousand tiles of the usual size: a few screens' worth either way.
constexpr qsizetype kKeptKilobytes = 96 * 1024;

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

void TilePictures::Start(const QString& file, int side) {
    const auto reading = m_reading.constFind(file);
    if (reading != m_reading.constEnd() && reading.value() == side) return;
    m_reading.insert(file, side);
    // The tiles asked for last are those in sight now: they are read first.
    m_readers.start(
        [this, file, side] {
            const QImage image = ReadScaled(file, side);
            QMetaObject::invokeMethod(
                this, [this, file, side, image] { Take(file, side, image); }, Qt::QueuedConnection);
        },
        ++m_asked);
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
