#include "qt/qstring_bytes.h"

#include "text/lossless_utf8.h"

namespace vistello {

QString ToQString(const std::string& bytes) {
    const std::u16string text = DecodeLossless(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text) {
    return EncodeLossless(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                              static_cast<size_t>(text.size())));
}

}  // namespace vistello
