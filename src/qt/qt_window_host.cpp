#include "qt/qt_window_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

#include "qt/app_icon.h"
#include "qt/dialog_units.h"
#include "qt/qstring_bytes.h"
#include "qt/qt_controls.h"
#include "qt/qt_dialog_widget.h"
#include "qt/qt_file_picker.h"
#include "qt/qt_list_view.h"
#include "qt/qt_message_box.h"

namespace vistello {

namespace {

// The template's face is not on this desktop; its size is kept, so the layout keeps the
// proportions it was drawn with.
QFont DialogFont(const DialogTemplate& dialogTemplate) {
    QFont font = QApplication::font();
    if (dialogTemplate.pointSize > 0) font.setPointSize(dialogTemplate.pointSize);
    return font;
}

// A screen reader would speak the marker of the access key: "&&" stands for one ampersand, and
// any other ampersand only marks the key.
QString WithoutAccessKey(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && ++i == text.size()) break;
        plain += text[i];
    }
    return plain;
}

}  // namespace

QtWindowHost::QtWindowHost(CDialog& dialog, QWidget* owner)
    : m_dialog(dialog),
      m_widget(std::make_unique<QtDialogWidget>(owner, [this] { m_dialog.OnCommand(IDCANCEL); })) {
    const DialogTemplate& dialogTemplate = dialog.Template();
    m_widget->setWindowTitle(ToQString(dialogTemplate.caption));
    m_widget->setWindowIcon(AppIcon());
    m_widget->setFont(DialogFont(dialogTemplate));
    if (owner != nullptr) m_widget->setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(m_widget.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (!dialogTemplate.menu.empty()) layout->setMenuBar(BuildMenu(dialogTemplate));
    if (dialogTemplate.acceptFiles) {
        m_widget->AcceptFiles(
            [this](const std::vector<std::string>& paths) { m_dialog.DropFiles(paths); });
    }
    layout->addWidget(BuildClientArea(dialogTemplate));
}

QtWindowHost::~QtWindowHost() = default;

QMenuBar* QtWindowHost::BuildMenu(const DialogTemplate& dialogTemplate) {
    auto* bar = new QMenuBar(m_widget.get());
    for (const MenuTemplate& popup : dialogTemplate.menu) {
        QMenu* menu = bar->addMenu(ToQString(popup.title));
        for (const MenuItemTemplate& item : popup.items) {
            const int id = item.id;
            QAction* action = menu->addAction(ToQString(item.text));
            if (!item.shortcut.empty()) {
                action->setShortcut(QKeySequence(ToQString(item.shortcut)));
                m_widget->addAction(action);
            }
            QObject::connect(action, &QAction::triggered, m_widget.get(),
                             [this, id] { m_dialog.OnCommand(id); });
        }
    }
    return bar;
}

// Controls are created in template order, so group boxes listed first lie under the fields.
QWidget* QtWindowHost::BuildClientArea(const DialogTemplate& dialogTemplate) {
    const DialogUnits units(m_widget->font());
    auto* client = new QWidget(m_widget.get());
    client->setFixedSize(units.ToPixels(dialogTemplate.width, dialogTemplate.height));
    std::vector<QWidget*> tabStops;
    std::vector<std::pair<int, QWidget*>> labels;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = CreateControl(control, units.ToPixels(control.rect), client);
        if (control.id != IDC_STATIC) m_controls.emplace(control.id, widget);
        if (control.names != IDC_STATIC) labels.emplace_back(control.names, widget);
        if (!control.tip.empty()) widget->setToolTip(ToQString(control.tip));
        if (!control.accessibleName.empty())
            widget->setAccessibleName(ToQString(control.accessibleName));
        Route(control.id, widget);
        // Files dropped on a field go to the window, which adds them, not into the field's text.
        if (dialogTemplate.acceptFiles && qobject_cast<QLineEdit*>(widget) != nullptr)
            widget->setAcceptDrops(false);
        if ((widget->focusPolicy() & Qt::TabFocus) != 0) tabStops.push_back(widget);
    }
    ChainTabOrder(tabStops);
    NameFields(labels);
    if (!tabStops.empty()) tabStops.front()->setFocus();
    return client;
}

void QtWindowHost::Route(int id, QWidget* control) {
    if (auto* list = qobject_cast<QtListView*>(control)) {
        QObject::connect(list, &QtListView::rowsAreaClicked, m_widget.get(), [this, id] {
            m_dialog.OnNotify(id, {NotifyCode::Click, -1});
        });
        QObject::connect(list, &QtListView::selectionMoved, m_widget.get(),
                         [this, id] { m_dialog.OnNotify(id, {NotifyCode::SelectionChanged}); });
        QObject::connect(list, &QtListView::headerClicked, m_widget.get(), [this, id](int column) {
            m_dialog.OnNotify(id, {NotifyCode::ColumnClick, column});
        });
        QObject::connect(list, &QtListView::rowDragged, m_widget.get(),
                         [this, id](int from, int to) {
                             m_dialog.OnNotify(id, {NotifyCode::RowDragged, -1, from, to});
                         });
        QObject::connect(list, &QtListView::rowDoubleClicked, m_widget.get(), [this, id](int row) {
            m_dialog.OnNotify(id, {NotifyCode::DoubleClick, -1, row});
        });
        QObject::connect(
            list, &QtListView::filesDropped, m_widget.get(),
            [this](const std::vector<std::string>& paths) { m_dialog.DropFiles(paths); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, m_widget.get(),
                         [this, id] { m_dialog.OnCommand(id); });
    }
}

void QtWindowHost::ChainTabOrder(const std::vector<QWidget*>& controls) {
    for (size_t i = 1; i < controls.size(); ++i) QWidget::setTabOrder(controls[i - 1], controls[i]);
}

// A screen reader announces each field by the label that names it.
void QtWindowHost::NameFields(const std::vector<std::pair<int, QWidget*>>& labels) {
    for (const auto& [id, widget] : labels) {
        QWidget* field = Control(id);
        auto* label = qobject_cast<QLabel*>(widget);
        if (field == nullptr || label == nullptr) continue;
        label->setBuddy(field);
        QString name = WithoutAccessKey(label->text());
        if (name.endsWith(':')) name.chop(1);
        field->setAccessibleName(name);
    }
}

std::string QtWindowHost::GetText(int id) const {
    QWidget* control = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return ToBytes(edit->text());
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return ToBytes(button->text());
    if (auto* label = qobject_cast<QLabel*>(control)) return ToBytes(label->text());
    if (auto* group = qobject_cast<QGroupBox*>(control)) return ToBytes(group->title());
    return {};
}

void QtWindowHost::SetText(int id, const std::string& text) {
    QWidget* control = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(ToQString(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(ToQString(text));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(ToQString(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(ToQString(text));
    }
}

bool QtWindowHost::GetCheck(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(Control(id));
    return button != nullptr && button->isChecked();
}

void QtWindowHost::SetCheck(int id, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(Control(id))) button->setChecked(checked);
}

ListView* QtWindowHost::List(int id) { return qobject_cast<QtListView*>(Control(id)); }

void QtWindowHost::SetCaption(const std::string& caption) {
    m_widget->setWindowTitle(ToQString(caption));
}

MsgAnswer QtWindowHost::MessageBox(const std::string& text, const std::string& caption,
                                   MsgButtons buttons, MsgIcon icon) {
    return ShowMessageBox(m_widget.get(), text, caption, buttons, icon);
}

void QtWindowHost::EndDialog(int result) {
    m_ended = true;
    m_result = result;
    m_widget->done(result);
}

std::optional<std::string> QtWindowHost::PickSaveFile(const FilePickerOptions& options) {
    return ShowSaveFilePicker(m_widget.get(), options);
}

std::optional<std::string> QtWindowHost::PickOpenFile(const FilePickerOptions& options) {
    return ShowOpenFilePicker(m_widget.get(), options);
}

std::optional<std::string> QtWindowHost::PickFolder(const std::string& title,
                                                    const std::string& folder) {
    return ShowFolderPicker(m_widget.get(), title, folder);
}

QDialog& QtWindowHost::Widget() const { return *m_widget; }

QWidget* QtWindowHost::Control(int id) const {
    const auto it = m_controls.find(id);
    return it != m_controls.end() ? it->second : nullptr;
}

}  // namespace vistello
