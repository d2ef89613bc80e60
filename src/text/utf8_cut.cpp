#include "text/utf8_cut.h"

namespace vistello {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

void CutToCharacter(std::string& text, size_t size) {
    if (text.size() <= size) return;
    size_t cut = size;
    while (cut > 0 && size - cut < 3 && IsContinuationByte(text[cut])) --cut;
    text.resize(IsContinuationByte(text[cut]) ? size : cut);
}

}  // namespace vistello
