#pragma once

#include <QFrame>
#include <QImage>

#include "framework/pictures_window.h"

class QLabel;
class QPushButton;

namespace vistello {

class TilePictures;

// The slide selected last, large: its picture upright and as large as the room allows, a play
// sign over a clip's, its title and description as its page shows them. A clip's Play button
// hands the clip to the desktop's player.
class PicturePreview final : public QFrame {
    Q_OBJECT

public:
    PicturePreview(TilePictures& pictures, QWidget* parent);

    void Show(const PreviewLook& preview);
    QPushButton* PlayButton() const { return m_play; }

signals:
    void playClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    class Picture;

    Picture* m_picture;
    QLabel* m_title;
    QLabel* m_description;
    QPushButton* m_play;
};

}  // namespace vistello
