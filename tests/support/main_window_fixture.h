#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {

// The main window open in memory, with the user's actions as helpers.
class MainWindowTest : public ::testing::Test {
protected:
    void AddEntry(const std::string& title, const std::string& image = "pics/a.jpg",
                  const std::string& height = "") {
        window.Type(ids::kTitle, title);
        window.Type(ids::kImagePath, image);
        window.Type(ids::kHeight, height);
        window.Press(ids::kAdd);
    }

    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        FakeListView& list = List();
        for (int row = 0; row < list.RowCount(); ++row) texts.push_back(list.Cell(row, column));
        return texts;
    }

    std::vector<std::string> Titles() { return Column(0); }
    FakeListView& List() { return *window.List(ids::kEntryList); }

    // The window reads and writes its files in the current directory.
    ScratchDir scratch;
    FakeWindowSystem system;
    CMainDialog dialog;
    FakeWindow window{system, dialog};
};

}  // namespace vistello::testing
