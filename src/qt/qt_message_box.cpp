#include "qt/qt_message_box.h"

#include <QMessageBox>

#include "qt/qstring_bytes.h"

namespace vistello {

namespace {

QMessageBox::StandardButtons ToButtons(MsgButtons buttons) {
    return buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
}

MsgAnswer ToAnswer(int pressed, MsgButtons buttons) {
    if (pressed == QMessageBox::Yes) return MsgAnswer::Yes;
    if (pressed == QMessageBox::Ok) return MsgAnswer::Ok;
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
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
    if (buttons == MsgButtons::YesNo) box.setDefaultButton(QMessageBox::Yes);
    return ToAnswer(box.exec(), buttons);
}

}  // namespace vistello
