#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Outcome = std::map<std::string, std::string>;

// What a user can see of the window and its folder after one command.
Outcome Observe(FakeWindow& window, const FakeWindowSystem& system) {
    Outcome seen{{"rows", ""}, {"boxes", ""}, {"opened", ""}};
    FakeListView& list = *window.List(ids::kEntryList);
    for (int row = 0; row < list.RowCount(); ++row) seen["rows"] += list.Cell(row, 0) + ";";
    seen["title"] = window.GetText(ids::kTitle);
    seen["image"] = window.GetText(ids::kImagePath);
    seen["template"] = window.GetText(ids::kTemplate);
    seen["output"] = window.GetText(ids::kOutputFolder);
    seen["caption"] = window.caption;
    for (const ShownBox& box : system.boxes) seen["boxes"] += box.caption + ": " + box.text + ";";
    for (const std::string& target : system.opened) seen["opened"] += target;
    seen["ended"] = std::to_string(window.result.value_or(0));
    seen["dialogs"] = std::to_string(system.dialogScripts.size());
    seen["saved"] = ReadBytes("vistello.dat");
    seen["picked"] = ReadBytes("picked");
    return seen;
}

// Every button and menu item runs its own command. Each starts from the same window, rows a and
// b with a selected and other text typed, with one answer of each kind ready and the file the
// picker chooses holding one entry, p; what it changes is all that differs from that window left
// alone.
TEST(CommandsTest, EveryButtonAndMenuItemRunsItsCommand) {
    ScratchDir scratch;
    const std::string picked = scratch / "picked";
    const std::string project =
        "TEMPLATE=t.htm\r\nOUTPUT=\r\nIMAGE=b.jpg\r\nTITLE=b\r\nIMAGE=a.jpg\r\nTITLE=a\r\n";
    const std::string typedSave =
        "CREATOR=Vistello 1.0\r\nTEMPLATE=t.htm\r\nOUTPUT=\r\nIMAGE=b.jpg\r\nTITLE=b\r\n"
        "HEIGHT=\r\nWIDTH=\r\nBORDER=\r\nALT=\r\nKEYWORDS=\r\nDESCRIPTION=\r\n\r\n"
        "IMAGE=a.jpg\r\nTITLE=a\r\nHEIGHT=\r\nWIDTH=\r\nBORDER=\r\nALT=\r\nKEYWORDS=\r\n"
        "DESCRIPTION=\r\n";
    const std::string manual = "file:///usr/share/doc/vistello/manual.html";
    const std::string question = "vistello: Are you sure that you want to clear list?;";
    const struct {
        int id;
        Outcome changes;
    } routes[] = {
        {ids::kGenerate, {{"boxes", "Error: Error loading file;"}}},
        {ids::kNewProject,
         {{"rows", ""},
          {"boxes", question},
          {"caption", "Framewright Vistello: " + picked},
          {"picked", "CREATOR=Vistello 1.0\r\nTEMPLATE=t.htm\r\nOUTPUT=\r\n"}}},
        {ids::kSaveProject, {{"saved", typedSave}, {"title", "a"}, {"image", "a.jpg"}}},
        {ids::kMenuSave, {{"saved", typedSave}, {"title", "a"}, {"image", "a.jpg"}}},
        {ids::kAdd, {{"rows", "typed;a;b;"}}},
        {ids::kMenuEntryAdd, {{"rows", "typed;a;b;"}}},
        {ids::kUpdate, {{"rows", "typed;b;"}}},
        {ids::kMenuEntryUpdate, {{"rows", "typed;b;"}}},
        {ids::kRemove, {{"rows", "b;"}, {"title", "a"}, {"image", "a.jpg"}}},
        {ids::kMenuEntryRemove, {{"rows", "b;"}, {"title", "a"}, {"image", "a.jpg"}}},
        {ids::kClearFields, {{"title", ""}, {"image", ""}}},
        {ids::kClearList, {{"rows", ""}, {"boxes", question}, {"title", "a"}, {"image", "a.jpg"}}},
        {ids::kMenuClearList, {{"rows", ""}, {"boxes", question}}},
        {ids::kPreferences, {{"dialogs", "0"}, {"title", "a"}, {"image", "a.jpg"}}},
        {ids::kMenuPreferences, {{"dialogs", "0"}}},
        {ids::kBrowseTemplate, {{"template", picked}, {"title", "a"}, {"image", "a.jpg"}}},
        {ids::kBrowseOutputFolder, {{"output", picked}}},
        {ids::kBrowseImage, {{"image", picked}, {"title", "a"}}},
        {ids::kMenuOpen,
         {{"rows", "p;"},
          {"caption", "Vistello: " + picked},
          {"saved", typedSave},
          {"title", "p"},
          {"image", "p.jpg"},
          {"template", "template.htm"}}},
        {ids::kMenuSaveAs,
         {{"caption", "Vistello: " + picked},
          {"picked", typedSave},
          {"title", "a"},
          {"image", "a.jpg"}}},
        {ids::kMenuQuit, {{"ended", "1"}}},
        {ids::kMenuPublish,
         {{"boxes",
           "Publish: This copy of Vistello cannot publish: it was started without its network "
           "module.;"}}},
        {ids::kMenuImportDirectory, {{"boxes", "Import Directory: 0 images added.;"}}},
        {ids::kMenuImportTree,
         {{"boxes",
           "Import Folder Tree as Albums: 0 albums made, 0 images added.\r\nLeft out:\r\n" +
               picked + ": cannot be read: Not a directory;"}}},
        {ids::kMenuOpenAlbum,
         {{"boxes",
           "Open Album: Select an album in the list first: a row whose image is a project "
           "(.dat).;"}}},
        {ids::kMenuCloseAlbum,
         {{"boxes", "Close Album: No album is open: this is the project itself.;"}}},
        {ids::kMenuUseAsCover, {}},
        {ids::kMenuWebImages, {{"dialogs", "0"}}},
        {ids::kMenuMoveUp, {}},
        {ids::kMenuMoveDown, {{"rows", "b;a;"}}},
        {ids::kMenuAbout, {{"dialogs", "0"}}},
        {ids::kMenuManual, {{"opened", manual}}},
        {ids::kMenuSupport, {{"opened", manual}}},
        {ids::kMenuMoreInfo, {{"opened", manual + "#about"}}},
        {ids::kMenuUninstall,
         {{"boxes",
           "Uninstall Vistello: To remove Vistello, run \"make uninstall\" in the folder it was "
           "built in, or delete the installed program.\r\nYour own files stay where they are: "
           "projects, vistello.ini and the pages you generated.;"}}},
    };
    const auto run = [&](int id) {
        WriteBytes("picked", "IMAGE=p.jpg\r\nTITLE=p\r\n");
        fs::remove("vistello.ini");
        WriteBytes("vistello.dat", project);
        FakeWindowSystem system;
        system.answers = {MsgAnswer::Yes};
        system.pickerAnswers = {picked};
        system.dialogScripts = {[](FakeWindow&) {}};
        CMainDialog dialog;
        FakeWindow window(system, dialog);
        window.ClickRow(ids::kEntryList, 0);
        window.SetText(ids::kTitle, "typed");
        window.SetText(ids::kImagePath, "t.jpg");
        if (id != 0) window.Press(id);
        return Observe(window, system);
    };
    const Outcome untouched = run(0);
    for (const auto& route : routes) {
        Outcome expected = untouched;
        for (const auto& [what, value] : route.changes) expected[what] = value;
        EXPECT_EQ(run(route.id), expected) << "command " << route.id;
    }
}

}  // namespace
}  // namespace vistello::testing
