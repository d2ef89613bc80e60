#pragma once

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <deque>
#include <mutex>

namespace vistello {

// Thumbnails read from their files and scaled to the size they are drawn at, on a thread of their
// own so that scrolling never waits for a file; the most recently drawn are kept, up to a bound.
class TilePictures final : public QObject {
    Q_OBJECT

public:
    explicit TilePictures(QObject* parent = nullptr);
    ~TilePictures() override;

    // The file's picture to fit a square of `side`: as read for this side, else as read for
    // another while it is read again, else a null image until `arrived` is told.
    QImage Picture(const QString& file, int side);

signals:
    void arrived();

private:
    struct Read {
        QImage image;
        int side = 0;
    };

    struct Waiting {
        QString file;
        int side = 0;
    };

    void Start(const QString& file, int side);
    // On a reader's thread.
    void ReadNewest();
    void Take(const QString& file, int side, const QImage& image);

    QCache<QString, Read> m_read;
    // Files being read, with the side each is read for.
    QHash<QString, int> m_reading;
    std::mutex m_waitingMutex;
    // Oldest first.
    std::deque<Waiting> m_waiting;
    QThreadPool m_readers;
};

}  // namespace vistello
