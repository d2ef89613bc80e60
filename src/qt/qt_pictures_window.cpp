#include "qt/qt_pictures_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/app_icon.h"
#include "qt/picture_preview.h"
#include "qt/qt_picture_grid.h"
#include "qt/tile_pictures.h"

namespace vistello {

namespace {

constexpr int kSizeStep = 16;
constexpr int kGap = 8;
const QSize kFirstSize(720, 560);

bool OnSomeScreen(const QRect& place) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&place](const QScreen* screen) {
        return screen->availableGeometry().intersects(place);
    });
}

}  // namespace

// A window of its own that belongs to the main window. Closing it, like Escape and the menu's
// key, runs the command that opens and closes it, once the event that asked is over.
class QtPicturesWindow::Frame final : public QWidget {
public:
    Frame(QWidget* owner, std::function<void()> toggle)
        : QWidget(owner, Qt::Window), m_toggle(std::move(toggle)) {
        for (const QKeySequence& keys :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}) {
            connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] { Toggle(); });
        }
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        Toggle();
    }

private:
    void Toggle() { QMetaObject::invokeMethod(this, m_toggle, Qt::QueuedConnection); }

    std::function<void()> m_toggle;
};

QtPicturesWindow::QtPicturesWindow(CDialog& dialog, QWidget* owner,
                                   const PicturesWindowSetup& setup)
    : m_dialog(dialog), m_setup(setup) {
    Build(owner);
    Route();
    PlaceBeside(owner, setup.place);
    m_window->show();
}

// The grid and the preview live in the window, and the pictures they draw with them.
QtPicturesWindow::~QtPicturesWindow() { delete m_window.data(); }

void QtPicturesWindow::Build(QWidget* owner) {
    const int toggle = m_setup.routes.toggle;
    m_window = new Frame(owner, [this, toggle] { m_dialog.OnCommand(toggle); });
    m_window->setWindowTitle(QStringLiteral("Pictures"));
    m_window->setWindowIcon(AppIcon());
    m_pictures = new TilePictures(m_window.data());
    m_grid = new QtPictureGrid(m_setup.tiles, *m_pictures, m_window.data());
    m_slider = new QSlider(Qt::Horizontal, m_window.data());
    m_slider->setRange(kSmallestTile, kLargestTile);
    m_slider->setSingleStep(kSizeStep);
    m_slider->setPageStep(2 * kSizeStep);
    m_slider->setValue(std::clamp(m_setup.tileSize, kSmallestTile, kLargestTile));
    m_slider->setAccessibleName(QStringLiteral("Picture size"));
    m_slider->setToolTip(QStringLiteral("The size of the pictures; Ctrl with the wheel too"));
    m_grid->SetTileSize(m_slider->value());
    m_preview = new PicturePreview(*m_pictures, m_window.data());

    auto* sizeLabel = new QLabel(QStringLiteral("Si&ze:"), m_window.data());
    sizeLabel->setBuddy(m_slider);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(m_slider, 1);
    auto* left = new QWidget(m_window.data());
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(m_grid, 1);
    leftLayout->addLayout(sizeRow);
    auto* splitter = new QSplitter(Qt::Horizontal, m_window.data());
    splitter->addWidget(left);
    splitter->addWidget(m_preview);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(m_window.data());
    layout->setContentsMargins(kGap, kGap, kGap, kGap);
    layout->addWidget(splitter);
    QWidget::setTabOrder(m_grid, m_slider);
    QWidget::setTabOrder(m_slider, m_preview);
    QWidget::setTabOrder(m_preview, m_preview->PlayButton());
    m_grid->setFocus();
}

void QtPicturesWindow::Route() {
    const int grid = m_setup.routes.grid;
    QObject::connect(m_grid, &QtPictureGrid::selectionMoved, m_grid,
                     [this, grid] { m_dialog.OnNotify(grid, {NotifyCode::SelectionChanged}); });
    QObject::connect(m_grid, &QtPictureGrid::tileDoubleClicked, m_grid, [this, grid](int row) {
        m_dialog.OnNotify(grid, {NotifyCode::DoubleClick, -1, row});
    });
    QObject::connect(m_grid, &QtPictureGrid::keyHandedOn, m_grid, [this, grid](ItemKey key) {
        m_dialog.OnNotify(grid, {NotifyCode::KeyPressed, -1, -1, -1, key});
    });
    QObject::connect(m_grid, &QtPictureGrid::tilesDragged, m_grid, [this, grid](int before) {
        m_dialog.OnNotify(grid, {NotifyCode::RowsDragged, -1, -1, before});
    });
    QObject::connect(m_grid, &QtPictureGrid::filesDropped, m_grid,
                     [this](const std::vector<std::string>& paths, int before) {
                         m_dialog.DropFiles(paths, before);
                     });
    QObject::connect(m_grid, &QtPictureGrid::zoomAsked, m_grid, [this](int steps) { Zoom(steps); });
    QObject::connect(m_slider, &QSlider::valueChanged, m_grid,
                     [this](int side) { m_grid->SetTileSize(side); });
    QObject::connect(m_preview, &PicturePreview::playClicked, m_preview,
                     [this, play = m_setup.routes.play] { m_dialog.OnCommand(play); });
    QObject::connect(m_pictures, &TilePictures::arrived, m_grid,
                     [this] { m_grid->viewport()->update(); });
}

void QtPicturesWindow::Zoom(int steps) {
    m_slider->setValue(m_slider->value() + steps * kSizeStep);
}

// Where it was left while that is on a screen; else beside the owner, on the side with more room,
// as wide as that room allows, as high as the owner.
void QtPicturesWindow::PlaceBeside(QWidget* owner, const std::optional<WindowPlace>& place) {
    if (place) {
        const QRect left(place->x, place->y, place->width, place->height);
        if (OnSomeScreen(left)) {
            m_window->setGeometry(left);
            return;
        }
    }
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect room =
        screen != nullptr ? screen->availableGeometry() : QRect(QPoint(), kFirstSize);
    const QRect main = owner != nullptr ? owner->frameGeometry() : QRect(room.topLeft(), QSize());
    const int right = room.right() - main.right() - kGap;
    const int left = main.left() - room.left() - kGap;
    const int width = std::min(kFirstSize.width(), std::max({right, left, kFirstSize.width() / 2}));
    const int height = std::min(std::max(main.height(), kFirstSize.height()), room.height());
    const int x =
        right >= width || right >= left ? main.right() + kGap : main.left() - kGap - width;
    const QRect beside(std::max(std::min(x, room.right() + 1 - width), room.left()),
                       std::max(std::min(main.top(), room.bottom() + 1 - height), room.top()),
                       width, height);
    m_window->setGeometry(beside);
}

QWidget& QtPicturesWindow::Widget() const { return *m_window; }

ListView* QtPicturesWindow::Grid() { return m_grid; }

void QtPicturesWindow::ShowPreview(const PreviewLook& preview) { m_preview->Show(preview); }

void QtPicturesWindow::TilesChanged() { m_grid->viewport()->update(); }

int QtPicturesWindow::TileSize() const { return m_grid->TileSize(); }

WindowPlace QtPicturesWindow::Place() const {
    const QRect place = m_window->geometry();
    return {place.x(), place.y(), place.width(), place.height()};
}

void QtPicturesWindow::Wake() {
    QMetaObject::invokeMethod(
        m_window.data(), [this] { m_setup.tiles.TakeArrived(); }, Qt::QueuedConnection);
}

}  // namespace vistello
