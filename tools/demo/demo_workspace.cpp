#include "demo/demo_workspace.h"

#include <unistd.h>

#include <QImage>
#include <stdexcept>
#include <string>
#include <vector>

#include "demo/demo_slides.h"
#include "files/text_file.h"
#include "prefs/preferences_file.h"
#include "project/project_file.h"
#include "slides/entry_list.h"

namespace vistello::demo {

namespace fs = std::filesystem;

namespace {

constexpr QSize kPictureSize(1200, 800);
constexpr int kJpegQuality = 88;

[[noreturn]] void Fail(const std::string& what, const fs::path& path) {
    throw std::runtime_error(what + ": " + path.string());
}

void SavePictures(const fs::path& folder) {
    for (const DemoSlide& slide : DemoSlides()) {
        const fs::path file = folder / slide.fileName;
        const int quality = slide.fileName.ends_with(".jpg") ? kJpegQuality : -1;
        if (!PaintScene(slide.scene, kPictureSize)
                 .save(QString::fromStdString(file.string()), nullptr, quality)) {
            Fail("cannot save the picture", file);
        }
    }
}

void CopyTemplates(const fs::path& templateFolder, const fs::path& folder) {
    if (!fs::is_regular_file(templateFolder / kDemoTemplate)) {
        Fail("no template", templateFolder / kDemoTemplate);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(templateFolder)) {
        if (entry.path().extension() == ".htm") {
            fs::copy_file(entry.path(), folder / entry.path().filename());
        }
    }
}

void WriteText(const fs::path& file, const std::string& text) {
    RealFileOps files;
    if (!WriteTextFile(files, file.string(), text)) Fail("cannot write", file);
}

// The project lists the slides top row first, as the window shows them.
void WriteProject(const fs::path& folder) {
    std::vector<ImageEntry> entries;
    for (const DemoSlide& slide : DemoSlides()) {
        ImageEntry& entry = entries.emplace_back();
        entry.title = slide.title;
        entry.alt = slide.alt;
        entry.keywords = slide.keywords;
        entry.description = slide.description;
        entry.imagePath = slide.fileName;
    }
    EntryList rows;
    rows.InsertTop(std::move(entries));
    WebSettings web;
    web.largestSide = kPictureSize.width();
    web.thumbnailSide = 320;
    web.overviewTemplate = kDemoOverview;
    WriteText(folder / kDemoProject, FormatProjectText(kDemoTemplate, kDemoOutput, web, rows));
}

void WritePreferences(const fs::path& folder) {
    Preferences preferences{"yes", {}, kDemoProject};
    preferences.tags.FillEmptyWithDefaults();
    WriteText(folder / kPreferencesFile, FormatPreferencesText(preferences));
}

void Fill(const fs::path& templateFolder, const fs::path& folder) {
    SavePictures(folder);
    CopyTemplates(templateFolder, folder);
    fs::create_directory(folder / kDemoOutput);
    WriteProject(folder);
    WritePreferences(folder);
}

fs::path MakeBeside(const fs::path& folder) {
    const fs::path beside = folder.string() + ".new-" + std::to_string(::getpid());
    if (!fs::create_directory(beside)) Fail("already there", beside);
    return beside;
}

}  // namespace

DemoResult MakeDemoWorkspace(const fs::path& templateFolder, const fs::path& folder) {
    if (fs::exists(fs::symlink_status(folder))) return DemoResult::AlreadyThere;
    const fs::path building = MakeBeside(folder);
    try {
        Fill(templateFolder, building);
        fs::rename(building, folder);
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(building, ignored);
        throw;
    }
    return DemoResult::Made;
}

}  // namespace vistello::demo
