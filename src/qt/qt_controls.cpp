#include "qt/qt_controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "qt/app_icon.h"
#include "qt/qstring_bytes.h"
#include "qt/qt_list_view.h"

namespace vistello {

namespace {

constexpr int kIconSize = 32;

// A field holds whatever it is given: the widget's own length limit would cut long text short.
QLineEdit* CreateEdit(bool readOnly, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(std::numeric_limits<int>::max());
    if (readOnly) {
        edit->setReadOnly(true);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        edit->setPalette(palette);
    }
    return edit;
}

// What is typed shows as dots, and the desktop's input helpers neither keep nor offer it.
QLineEdit* CreatePasswordEdit(QWidget* parent) {
    QLineEdit* edit = CreateEdit(false, parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
    return edit;
}

QPushButton* CreateButton(const QString& text, bool isDefault, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(true);
    button->setDefault(isDefault);
    return button;
}

// Its rows and headers speak for themselves; the list as a whole needs a name.
QtListView* CreateList(QWidget* parent) {
    auto* list = new QtListView(parent);
    list->setAccessibleName(QStringLiteral("Slides"));
    return list;
}

QLabel* CreateLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    // A static text breaks at words and shows only what its height holds.
    label->setWordWrap(true);
    return label;
}

QLabel* CreateIcon(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(AppIcon().pixmap(kIconSize, kIconSize));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* CreateWidget(const ControlTemplate& control, QWidget* parent) {
    const QString text = ToQString(control.text);
    switch (control.kind) {
        case ControlKind::Edit:
            return CreateEdit(false, parent);
        case ControlKind::ReadOnlyEdit:
            return CreateEdit(true, parent);
        case ControlKind::PasswordEdit:
            return CreatePasswordEdit(parent);
        case ControlKind::PushButton:
            return CreateButton(text, false, parent);
        case ControlKind::DefPushButton:
            return CreateButton(text, true, parent);
        case ControlKind::CheckBox:
            return new QCheckBox(text, parent);
        case ControlKind::ListView:
            return CreateList(parent);
        case ControlKind::Label:
            return CreateLabel(text, parent);
        case ControlKind::GroupBox:
            return new QGroupBox(text, parent);
        case ControlKind::Icon:
            return CreateIcon(parent);
    }
    return CreateLabel(text, parent);
}

// A one-line static text drawn in a wider face than its template assumed keeps its last words:
// it grows to the right, as far as the window reaches, rather than wrapping out of sight.
QRect LabelPlace(QLabel* label, const QRect& place, const QWidget* parent) {
    const QFontMetrics metrics(label->font());
    if (place.height() >= 2 * metrics.height()) return place;
    label->setWordWrap(false);
    const int needed = metrics.horizontalAdvance(label->text()) + 1;
    const int room = parent->width() - place.x();
    return {place.topLeft(),
            QSize(std::max(place.width(), std::min(needed, room)), place.height())};
}

}  // namespace

QWidget* CreateControl(const ControlTemplate& control, const QRect& place, QWidget* parent) {
    QWidget* widget = CreateWidget(control, parent);
    auto* label = control.kind == ControlKind::Label ? qobject_cast<QLabel*>(widget) : nullptr;
    widget->setGeometry(label != nullptr ? LabelPlace(label, place, parent) : place);
    if (control.id != IDC_STATIC) widget->setObjectName(QString::number(control.id));
    return widget;
}

}  // namespace vistello
