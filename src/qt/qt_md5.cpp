#include "qt/qt_md5.h"

#include <QByteArray>
#include <QCryptographicHash>

namespace vistello {

std::string QtMd5Hex(std::string_view bytes) {
    const QByteArray hex =
        QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                 QCryptographicHash::Md5)
            .toHex();
    return hex.toStdString();
}

}  // namespace vistello
