#include "qt/picture_preview.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "qt/qstring_bytes.h"
#include "qt/tile_marks.h"
#include "qt/tile_pictures.h"

namespace vistello {

namespace {

// The preview's picture is read at the larger thumbnail size.
constexpr int kPreviewSide = 512;
constexpr int kPreviewMinimumWidth = 200;
const QString kNoneSelected = QStringLiteral("Select a picture to see it here, large.");

QLabel* TextLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

// The picture, as wide as the room and as high as its shape asks, with its marks.
class PicturePreview::Picture final : public QWidget {
public:
    Picture(TilePictures& pictures, QWidget* parent) : QWidget(parent), m_pictures(pictures) {
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
        connect(&m_pictures, &TilePictures::arrived, this, [this] { Read(); });
    }

    void Show(const TileLook& look) {
        m_look = look;
        Read();
    }

    QSize sizeHint() const override { return {kHintWidth, heightForWidth(kHintWidth)}; }
    bool hasHeightForWidth() const override { return true; }
    // A picture taller than wide keeps to the height of a square, so the texts stay in sight.
    int heightForWidth(int width) const override {
        if (m_image.isNull() || m_image.width() == 0) return width * 3 / 4;
        return std::min(width * m_image.height() / m_image.width(), width);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int side = std::min(width(), height());
        const QRect square((width() - side) / 2, 0, side, side);
        if (!m_image.isNull()) {
            const QSize fitted = m_image.size().scaled(size(), Qt::KeepAspectRatio);
            const QRect place((width() - fitted.width()) / 2, 0, fitted.width(), fitted.height());
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(place, m_image);
        } else if (!m_look.failure.empty() && m_look.badge != TileBadge::Clip) {
            PaintCannotShow(painter, square, palette());
        } else if (m_look.badge == TileBadge::Album || m_look.badge == TileBadge::PrivateAlbum) {
            PaintPile(painter, square, palette());
        }
        if (m_look.badge == TileBadge::Clip) PaintPlaySign(painter, square);
        if (m_look.badge == TileBadge::PrivateAlbum) PaintLock(painter, square);
    }

private:
    static constexpr int kHintWidth = 260;

    void Read() {
        const QImage image = m_look.picture.empty()
                                 ? QImage()
                                 : m_pictures.Picture(ToQString(m_look.picture), kPreviewSide);
        const bool reshaped = image.size() != m_image.size();
        m_image = image;
        if (reshaped) updateGeometry();
        update();
    }

    TilePictures& m_pictures;
    TileLook m_look;
    QImage m_image;
};

PicturePreview::PicturePreview(TilePictures& pictures, QWidget* parent)
    : QFrame(parent),
      m_picture(new Picture(pictures, this)),
      m_title(TextLabel(this)),
      m_description(TextLabel(this)),
      m_play(new QPushButton(QStringLiteral("&Play"), this)) {
    setFrameShape(QFrame::StyledPanel);
    setMinimumWidth(kPreviewMinimumWidth);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Preview"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_play->setToolTip(QStringLiteral("Play the clip in the desktop's player"));
    m_play->hide();
    connect(m_play, &QPushButton::clicked, this, &PicturePreview::playClicked);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picture);
    layout->addWidget(m_play, 0, Qt::AlignLeft);
    layout->addWidget(m_title);
    layout->addWidget(m_description);
    layout->addStretch(1);
}

// A screen reader that comes to the preview hears the slide's title and description.
void PicturePreview::Show(const PreviewLook& preview) {
    m_picture->Show(preview.look);
    m_title->setText(ToQString(preview.title));
    m_description->setText(preview.selected ? ToQString(preview.description) : kNoneSelected);
    m_play->setVisible(preview.look.badge == TileBadge::Clip);
    QStringList words{m_title->text(), m_description->text()};
    words.removeAll(QString());
    setAccessibleDescription(words.join(QStringLiteral(". ")));
}

// Where the keyboard is, as the grid shows it on its tile.
void PicturePreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void PicturePreview::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    update();
}

void PicturePreview::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    update();
}

}  // namespace vistello
