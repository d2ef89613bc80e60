#include "platform/data_exchange.h"

#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "support/fake_window_system.h"

namespace vistello::testing {
namespace {

const DialogTemplate kTemplate{};

// Three bindings: a text, an integer, then a check box after it.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(kTemplate) {}
    std::string text;
    int number = 0;
    bool checked = false;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, 1, text);
        DDX_Text(dx, 2, number);
        DDX_Check(dx, 3, checked);
    }
};

TEST(DataExchangeTest, TextThatIsNoIntegerFailsAndStopsTheExchange) {
    for (const char* bad : {"", "12a", "1 2", "99999999999", "0x10", "-"}) {
        FakeWindowSystem system;
        ExchangeDialog dialog;
        FakeWindow window(system, dialog);
        dialog.number = 5;
        window.Type(2, bad);
        window.Host().SetCheck(3, true);
        EXPECT_FALSE(dialog.UpdateData(true)) << bad;
        EXPECT_EQ(dialog.number, 5);
        EXPECT_FALSE(dialog.checked) << "bindings after the failing field stay untouched";
        ASSERT_EQ(system.boxes.size(), 1u);
        EXPECT_EQ(system.boxes[0].text, "Please enter an integer.");
        EXPECT_EQ(system.boxes[0].caption, "vistello");
    }
}

TEST(DataExchangeTest, OkEndsOnlyWhenTheExchangeSucceeds) {
    FakeWindowSystem system;
    ExchangeDialog dialog;
    FakeWindow window(system, dialog);
    window.Type(2, "nope");
    window.Press(IDOK);
    EXPECT_FALSE(window.Ended());
    window.Type(2, "3");
    window.Press(IDOK);
    EXPECT_TRUE(window.Ended());
    EXPECT_EQ(window.Result(), IDOK);
}

}  // namespace
}  // namespace vistello::testing
