#pragma once

#include <string>

#include "framework/window_host.h"

namespace vistello {

class CDialog;

// One run of UpdateData: the direction and whether a field has failed. Once a field fails the
// remaining bindings are skipped, so no member takes a value from a half-checked window.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, WindowHost& host, bool saveAndValidate)
        : m_dialog(dialog), m_host(host), m_bSaveAndValidate(saveAndValidate) {}

    CDialog& Dialog() const { return m_dialog; }
    WindowHost& Host() const { return m_host; }
    bool Saving() const { return m_bSaveAndValidate; }
    bool Failed() const { return m_failed; }
    void Fail() { m_failed = true; }

private:
    CDialog& m_dialog;
    WindowHost& m_host;
    bool m_bSaveAndValidate;
    bool m_failed = false;
};

void DDX_Text(CDataExchange& dx, int id, std::string& value);
// Integers travel as "%d"; text that is not a whole decimal int fails the exchange.
void DDX_Text(CDataExchange& dx, int id, int& value);
void DDX_Check(CDataExchange& dx, int id, bool& value);

// Binds a control object to its window; the control object decides what attaching means.
template <class Control>
void DDX_Control(CDataExchange& dx, int id, Control& control) {
    if (!dx.Failed()) control.Attach(dx.Host().List(id));
}

// Parses the whole text as a decimal int, leading and trailing blanks allowed.
bool ParseInt(const std::string& text, int& value);

}  // namespace vistello
