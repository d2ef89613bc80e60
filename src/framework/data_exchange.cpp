#include "framework/data_exchange.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/dialog.h"

namespace vistello {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    if (dx.Failed()) return;
    if (dx.Saving()) {
        value = dx.Host().GetText(id);
    } else {
        dx.Host().SetText(id, value);
    }
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    if (dx.Failed()) return;
    if (!dx.Saving()) {
        dx.Host().SetText(id, std::to_string(value));
        return;
    }
    int parsed = 0;
    if (!ParseInt(dx.Host().GetText(id), parsed)) {
        dx.Fail();
        dx.Dialog().AfxMessageBox("Please enter an integer.");
        return;
    }
    value = parsed;
}

void DDX_Check(CDataExchange& dx, int id, bool& value) {
    if (dx.Failed()) return;
    if (dx.Saving()) {
        value = dx.Host().GetCheck(id);
    } else {
        dx.Host().SetCheck(id, value);
    }
}

bool ParseInt(const std::string& text, int& value) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    if (begin == end) return false;
    const std::string digits = text.substr(begin, end - begin);
    char* stop = nullptr;
    errno = 0;
    const long parsed = std::strtol(digits.c_str(), &stop, 10);
    if (errno != 0 || stop != digits.c_str() + digits.size()) return false;
    if (parsed < INT32_MIN || parsed > INT32_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace vistello
