#include "framework/data_exchange.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/dialog.h"
#include "support/fake_window_system.h"

namespace vistello::testing {
namespace {

const DialogTemplate kTemplate{};
constexpr int kFailingCommand = 9;

// An integer, then a check box after it; and one command that fails.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(kTemplate) {
        MapCommand(kFailingCommand, [] { throw std::runtime_error("out of room"); });
    }
    int number = 5;
    bool checked = false;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, 2, number);
        DDX_Check(dx, 3, checked);
    }
};

// Text that is no integer stops the exchange before the later bindings, and OK does not end
// the dialog. A handler that fails shows what went wrong, and the window goes on.
TEST(DataExchangeTest, BadInputOrAFailingHandlerShowsABoxAndTheWindowGoesOn) {
    FakeWindowSystem system;
    ExchangeDialog dialog;
    FakeWindow window(system, dialog);
    window.SetCheck(3, true);
    for (const char* bad : {"", "12a", "99999999999"}) {
        window.SetText(2, bad);
        window.Press(IDOK);
        EXPECT_EQ(dialog.number, 5);
    }
    window.Press(kFailingCommand);
    const ShownBox notInteger{"Please enter an integer.", "vistello", MsgButtons::Ok,
                              MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes, (std::vector<ShownBox>{
                                notInteger, notInteger, notInteger, {"out of room", "Error"}}));
    EXPECT_FALSE(dialog.checked);
    EXPECT_FALSE(window.result);
    window.SetText(2, "-3");
    window.Press(IDOK);
    EXPECT_EQ(dialog.number, -3);
    EXPECT_TRUE(dialog.checked);
    EXPECT_EQ(window.result, IDOK);
}

}  // namespace
}  // namespace vistello::testing
