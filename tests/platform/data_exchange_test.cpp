#include "platform/data_exchange.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/dialog.h"
#include "support/fake_window_system.h"

namespace vistello::testing {
namespace {

const DialogTemplate kTemplate{};
constexpr int kFailingCommand = 9;

// Three bindings: a text, an integer, then a check box after it; one command that fails.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(kTemplate) {
        MapCommand(kFailingCommand, [] { throw std::runtime_error("out of room"); });
    }
    std::string text;
    int number = 5;
    bool checked = false;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, 1, text);
        DDX_Text(dx, 2, number);
        DDX_Check(dx, 3, checked);
    }
};

class DataExchangeTest : public ::testing::Test {
protected:
    FakeWindowSystem system;
    ExchangeDialog dialog;
    FakeWindow window{system, dialog};
};

// The bindings after the failing field stay untouched, and OK does not end the dialog.
TEST_F(DataExchangeTest, TextThatIsNoIntegerFailsAndStopsTheExchange) {
    const ShownBox notInteger{"Please enter an integer.", "vistello", MsgButtons::Ok,
                              MsgIcon::Exclamation};
    window.Host().SetCheck(3, true);
    for (const char* bad : {"", "12a", "99999999999"}) {
        system.boxes.clear();
        window.Type(2, bad);
        window.Press(IDOK);
        EXPECT_EQ(system.boxes, std::vector<ShownBox>{notInteger}) << bad;
        EXPECT_EQ(dialog.number, 5);
        EXPECT_FALSE(dialog.checked);
        EXPECT_FALSE(window.Host().Result());
    }
    window.Type(2, "-3");
    window.Press(IDOK);
    EXPECT_EQ(dialog.number, -3);
    EXPECT_EQ(window.Host().Result(), IDOK);
}

TEST_F(DataExchangeTest, AHandlerThatFailsShowsABoxAndTheWindowGoesOn) {
    window.Press(kFailingCommand);
    EXPECT_EQ(system.boxes, (std::vector<ShownBox>{{"out of room", "Error"}}));
    window.Type(2, "7");
    window.Press(IDOK);
    EXPECT_EQ(dialog.number, 7);
}

}  // namespace
}  // namespace vistello::testing
