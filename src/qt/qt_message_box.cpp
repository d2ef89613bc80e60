#include "qt/qt_message_box.h"

#include <QMessageBox>

#include "qt/qstring_bytes.h"

namespace vistello {

namespace {

bool IsQuestion(MsgButtons buttons) { return buttons != MsgButtons::Ok; }

QMessageBox::StandardButtons ToButtons(MsgButtons buttons) {
    return IsQuestion(buttons) ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
}

MsgAnswer ToAnswer(int pressed, MsgButtons buttons) {
    if (pressed == QMessageBox::Yes) return MsgAnswer::Yes;
    if (pressed == QMessageBox::Ok) return MsgAnswer::Ok;
    return IsQuestion(buttons) ? MsgAnswer::No : MsgAnswer::Ok;
}

}  // namespace

MsgAnswer ShowMessageBox(QWidget* parent, const std::string& text, const std::string& caption,
                         MsgButtons buttons, MsgIcon icon) {
    QString body = ToQString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QMessageBox::Icon shown =
        icon == MsgIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(shown, ToQString(caption), body, ToButtons(buttons), parent);
    box.setTextFormat(Qt::PlainText);
    if (IsQuestion(buttons))
        box.setDefaultButton(buttons == MsgButtons::YesNoSafe ? QMessageBox::No : QMessageBox::Yes);
    return ToAnswer(box.exec(), buttons);
}

}  // namespace vistello
