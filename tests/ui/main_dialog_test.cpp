#include "ui/main_dialog.h"

#include <gtest/gtest.h>

#include "support/fake_window_system.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

using testing::FakeWindow;
using testing::FakeWindowSystem;

TEST(MainDialogTest, StartsWithEmptyFieldsAndZeroCount) {
    FakeWindowSystem system;
    CMainDialog dialog;
    FakeWindow window(system, dialog);
    EXPECT_EQ(window.Text(ids::kEntryCount), "0");
    EXPECT_EQ(window.List(ids::kEntryList).Headers().size(), 8u);
}

}  // namespace
}  // namespace vistello
