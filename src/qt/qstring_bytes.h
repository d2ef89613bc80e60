#pragma once

#include <QString>
#include <string>

namespace vistello {

// The program's strings are bytes; Qt's are UTF-16. Both directions are lossless, so bytes that
// are not valid UTF-8 come back from a widget exactly as they went in.
QString ToQString(const std::string& bytes);
std::string ToBytes(const QString& text);

}  // namespace vistello
