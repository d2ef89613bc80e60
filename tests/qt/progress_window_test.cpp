#include <gtest/gtest.h>

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest/QtTest>
#include <chrono>
#include <fstream>
#include <vector>

#include "qt/qt_window.h"
#include "qt/qt_window_host.h"
#include "qt/qt_window_system.h"
#include "qt_test_support.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

// Many tiny pages make a run long enough to show the progress at once, which it does with no
// delay here; a box that opens in its place is closed, so a run that ends too soon fails the
// test rather than hanging it.
TEST(QtProgressTest, ALongGenerateShowsThePageCountOverTheWindowAndCancelStopsIt) {
    ScratchDirectory scratch;
    std::ofstream("page.htm") << "<<IMAGETITLE>>";
    std::ofstream("a.jpg") << "image";
    QtWindowSystem system(std::chrono::milliseconds(0));
    CMainDialog dialog;
    QtWindow window(system, dialog, nullptr);
    window.Show();
    std::vector<ImageEntry> entries;
    for (int i = 0; i < 3000; ++i)
        entries.push_back({"Page " + std::to_string(i), "", "", "", "", "", "", "a.jpg"});
    dialog.m_listEntries.InsertTop(std::move(entries));
    dialog.RefreshEntryCount();
    window.Host().SetText(ids::kTemplate, "page.htm");

    QString label;
    QString box;
    OnNextModal(&window.Widget(), [&](QWidget* modal) {
        OnNextModal(&window.Widget(), [&box](QWidget* next) {
            if (auto* shown = qobject_cast<QMessageBox*>(next)) box = shown->text();
            next->close();
        });
        auto* progress = qobject_cast<QProgressDialog*>(modal);
        if (progress == nullptr) {
            modal->close();
            return;
        }
        EXPECT_EQ(progress->windowModality(), Qt::WindowModal);
        EXPECT_EQ(progress->parentWidget(), &window.Widget());
        label = progress->labelText();
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    dialog.OnCommand(ids::kGenerate);

    EXPECT_TRUE(label.startsWith("Page ") && label.endsWith(" of 3,000")) << label.toStdString();
    const QString written = box.section(' ', 2, 2);
    EXPECT_EQ(box, "Generating stopped: " + written + " of 3,000 pages were written.");
    EXPECT_GT(written.toInt(), 0);
    EXPECT_LT(written.toInt(), 3000);
}

}  // namespace
}  // namespace vistello::testing
