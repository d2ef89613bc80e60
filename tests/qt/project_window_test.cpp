#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QtTest>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "qt/qt_window.h"
#include "qt/qt_window_host.h"
#include "qt/qt_window_system.h"
#include "qt_test_support.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

constexpr const char* kPreferences =
    "CREATOR=Vistello 1.0\r\nIMAGEPATH=[path]\r\nIMAGETITLE=[title]\r\nHEIGHT=\r\nWIDTH=\r\n"
    "BORDER=\r\nALT=\r\nKEYWORDS=\r\nTOOLTIPS=no\r\nDESCRIPTION=\r\nFILE=album.dat\r\n\r\n";
constexpr const char* kAlbum =
    "CREATOR=Vistello 1.0\r\nTEMPLATE=show.htm\r\nOUTPUT=web\r\n"
    "IMAGE=pics/mill.jpg\r\nTITLE=Old mill\r\nHEIGHT=480\r\nWIDTH=640\r\nBORDER=0\r\n"
    "ALT=The old mill\r\nKEYWORDS=mill, river\r\nDESCRIPTION=The mill in spring.\r\n\r\n"
    "IMAGE=pics/harbour.jpg\r\nTITLE=Harbour at dawn\r\nHEIGHT=600\r\nWIDTH=800\r\nBORDER=1\r\n"
    "ALT=Harbour\r\nKEYWORDS=harbour, boats\r\nDESCRIPTION=Boats at first light.\r\n";

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The real window started in a folder that already holds a project and its preferences.
class QtProjectWindowTest : public ::testing::Test {
protected:
    void Start() {
        window.emplace(system, dialog, nullptr);
        window->Show();
    }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(window->Host().Control(id)); }
    QPushButton* Button(int id) const {
        return qobject_cast<QPushButton*>(window->Host().Control(id));
    }

    // Answers the clear-list question with Yes, then types path into the save picker.
    void NewProjectTyping(const QString& path, bool expectReplaceQuestion) {
        OnNextModal(&window->Widget(), [&](QWidget* question) {
            OnNextModal(&window->Widget(), [&](QWidget* modal) {
                auto* picker = qobject_cast<QFileDialog*>(modal);
                ASSERT_NE(picker, nullptr);
                if (expectReplaceQuestion) {
                    OnNextModal(nullptr, [](QWidget* box) {
                        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
                    });
                }
                auto* name = picker->findChild<QLineEdit*>("fileNameEdit");
                name->setText(path);
                QTest::keyClick(name, Qt::Key_Return);
            });
            qobject_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click();
        });
        Button(ids::kNewProject)->click();
    }

    ScratchDirectory scratch;
    QtWindowSystem system;
    CMainDialog dialog;
    std::optional<QtWindow> window;
};

TEST_F(QtProjectWindowTest, StartsWhereTheUserLeftOffAndWritesTheSameFilesAtQuit) {
    std::ofstream("vistello.ini", std::ios::binary) << kPreferences;
    std::ofstream("album.dat", std::ios::binary) << kAlbum;
    Start();
    EXPECT_EQ(window->Widget().windowTitle().toStdString(), "Vistello: album.dat");
    auto* list = window->Host().Control(ids::kEntryList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Edit(ids::kEntryCount)->text().toStdString(), "2");
    EXPECT_EQ(Edit(ids::kTitle)->text().toStdString(), "Harbour at dawn");
    EXPECT_EQ(Edit(ids::kTemplate)->text().toStdString(), "show.htm");
    Button(IDOK)->click();
    window->Close();
    EXPECT_EQ(FileText("vistello.ini"), kPreferences);
    EXPECT_EQ(FileText("album.dat"), kAlbum);
}

// A typed name gains the extension; an existing file is replaced only after the question.
TEST_F(QtProjectWindowTest, NewProjectPickerCompletesTheNameAndAsksBeforeReplacing) {
    Start();
    const QString typed = QDir::current().absoluteFilePath("named");
    NewProjectTyping(typed, false);
    const std::string chosen = typed.toStdString() + ".dat";
    EXPECT_EQ(window->Widget().windowTitle().toStdString(), "Framewright Vistello: " + chosen);
    EXPECT_EQ(FileText(chosen), "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=\r\n");
    Edit(ids::kOutputFolder)->setText("web");
    NewProjectTyping(typed + ".dat", true);
    EXPECT_EQ(FileText(chosen), "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=web\r\n");
}

}  // namespace
}  // namespace vistello::testing
