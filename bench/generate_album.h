#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/fake_window_system.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::bench {

// A folder of images, a template and output folders, removed with everything in it.
class Album {
public:
    Album(int entries, size_t imageBytes) : m_entries(entries) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vistello-bench-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(m_root / "pics");
        std::ofstream(Template(), std::ios::binary) << MakeTemplate();
        const std::string bytes(imageBytes, 'i');
        for (int i = 0; i < entries; ++i) std::ofstream(Image(i), std::ios::binary) << bytes;
    }
    ~Album() {
        std::error_code error;
        std::filesystem::remove_all(m_root, error);
    }
    Album(const Album&) = delete;
    Album& operator=(const Album&) = delete;

    int Entries() const { return m_entries; }
    // Where the windows of the album run.
    std::string Home() const { return (m_root / "home").string(); }
    std::string Template() const { return (m_root / "template.htm").string(); }
    std::string Image(int i) const {
        return (m_root / "pics" / ("img" + std::to_string(i) + ".jpg")).string();
    }
    static std::string Title(int i) { return "Day Number " + std::to_string(i); }

    // A new empty output folder, with nothing written before still on its way to the disk.
    // Folders are only removed with the album: the file system is slow to make files for a while
    // after many were deleted, which would weigh on whatever ran next.
    std::string NewWeb() {
        const std::filesystem::path web = m_root / ("web" + std::to_string(++m_webs));
        std::filesystem::create_directories(web);
        ::sync();
        return web.string();
    }

private:
    // 8 KiB of markup with every tag in it.
    static std::string MakeTemplate() {
        static constexpr const char* kTags[] = {
            "<<BACK>>", "<<NEXT>>",     "<<IMAGEPATH>>", "<<IMAGETITLE>>", "<<DESCRIPTION>>",
            "<<ALT>>",  "<<KEYWORDS>>", "<<WIDTH>>",     "<<HEIGHT>>",     "<<BORDER>>"};
        const std::string filler = "<p class=\"x\">Some text <b>here</b></p>\n";
        std::string text;
        for (int round = 0; text.size() < 8 * 1024; ++round) {
            text += filler;
            text += kTags[round % 10];
            text += "\n";
        }
        text.resize(8 * 1024);
        return text;
    }

    std::filesystem::path m_root;
    int m_entries;
    int m_webs = 0;
};

// 10,000 entries with small images: the cost of many pages.
inline Album& ManySmallImages() {
    static Album album(10000, 2 * 1024);
    return album;
}

// The folder a window runs in, the same for every window of an album, as a user's own after a
// restart: each window then saves the same project file, into which Generate's record puts the
// files it wrote. What the last window left there is cleared first.
class WindowHome {
public:
    explicit WindowHome(const std::string& folder) {
        std::filesystem::create_directories(folder);
        for (const char* name : {"vistello.dat", "vistello.ini"})
            std::filesystem::remove(std::filesystem::path(folder) / name);
        std::filesystem::current_path(folder);
    }
    ~WindowHome() {
        std::error_code error;
        std::filesystem::current_path(m_previous, error);
    }
    WindowHome(const WindowHome&) = delete;
    WindowHome& operator=(const WindowHome&) = delete;

private:
    std::filesystem::path m_previous = std::filesystem::current_path();
};

// The main window in memory with one entry per image of the album.
class GenerateWindow {
public:
    explicit GenerateWindow(const Album& album) : home(album.Home()), m_album(album) {
        for (int i = album.Entries() - 1; i >= 0; --i) {
            dialog.Inside().slides.InsertTop({Album::Title(i), "480", "640", "", "alt text",
                                              "sea, beach", "A description", album.Image(i)});
        }
        dialog.RefreshEntryCount();
    }

    // Seconds the Generate into `folder` took; false in `ok` when it reported anything but
    // success.
    double Generate(const std::string& folder, bool& ok) {
        window.SetText(ids::kTemplate, m_album.Template());
        window.SetText(ids::kOutputFolder, folder);
        const size_t boxes = system.boxes.size();
        const auto start = std::chrono::steady_clock::now();
        window.Press(ids::kGenerate);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        ok = ok && system.boxes.size() == boxes + 1 &&
             system.boxes.back().text.find("Your pages have been generated.") != std::string::npos;
        return took.count();
    }

    // The window reads and writes its own files in the current directory.
    WindowHome home;
    testing::FakeWindowSystem system;
    CMainDialog dialog;
    testing::FakeWindow window{system, dialog};

private:
    const Album& m_album;
};

}  // namespace vistello::bench
