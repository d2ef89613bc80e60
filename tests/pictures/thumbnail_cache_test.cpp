#include "pictures/thumbnail_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "pictures/png_text.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

std::string Md5(std::string_view bytes) {
    unsigned char sum[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), sum, &length, EVP_md5(), nullptr);
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", sum[i]);
        hex += digits;
    }
    return hex;
}

// Makes a one-pixel PNG of any file but one that says "bad", and notes each source and size it
// was asked for. While `held`, a make waits until it is let go.
class PngMaker : public ImageMaker {
public:
    std::optional<ImageFacts> Examine(const std::string&) override { return ImageFacts{}; }
    MadeImage Make(const ImageJob& job) override {
        std::unique_lock lock(m_mutex);
        made.push_back(fs::path(job.source).filename().string() + "@" + std::to_string(job.side));
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !held; });
        ++finished;
        if (ReadBytes(job.source) == "bad") return {{}, "image file is truncated"};
        return {{{OnePixelPng(), 1, 1}}, {}};
    }
    void Hold(bool hold) {
        const std::lock_guard lock(m_mutex);
        held = hold;
        m_changed.notify_all();
    }
    void WaitForMakes(size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return made.size() >= count; });
    }
    int Finished() {
        const std::lock_guard lock(m_mutex);
        return finished;
    }
    std::vector<std::string> Made() {
        const std::lock_guard lock(m_mutex);
        return made;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> made;
    int finished = 0;
    bool held = false;
};

// The answers heard, in the order heard.
class Answers {
public:
    ThumbnailDone Taker() {
        return [this](uint64_t ticket, ThumbnailAnswer answer) {
            const std::lock_guard lock(m_mutex);
            m_heard.emplace_back(ticket, std::move(answer));
            m_changed.notify_all();
        };
    }
    // The next answer, or a failure after a generous wait.
    ThumbnailAnswer Next() {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, std::chrono::seconds(20),
                                [this] { return m_heard.size() > m_taken; }))
            return {{}, "no answer"};
        return m_heard[m_taken++].second;
    }
    std::vector<uint64_t> Tickets() {
        const std::lock_guard lock(m_mutex);
        std::vector<uint64_t> tickets;
        for (const auto& [ticket, answer] : m_heard) tickets.push_back(ticket);
        return tickets;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::pair<uint64_t, ThumbnailAnswer>> m_heard;
    size_t m_taken = 0;
};

class ThumbnailCacheTest : public ::testing::Test {
protected:
    std::string Photo(const std::string& name, const std::string& bytes = "photo") {
        const std::string path = scratch / name;
        fs::create_directories(fs::path(path).parent_path());
        WriteBytes(path, bytes);
        return path;
    }
    // Made on the pool and answered there.
    ThumbnailAnswer Made(const std::string& source, ThumbnailSize size = ThumbnailSize::Large) {
        if (std::optional<ThumbnailAnswer> now = cache.Request(1, source, size, 0, answers.Taker()))
            return {{}, "answered at once: " + now->png + now->failure};
        return answers.Next();
    }
    std::optional<PngFacts> Facts(const std::string& path) { return ReadPng(ReadBytes(path)); }
    static void SetTime(const std::string& path, time_t seconds) {
        const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    ScratchDir scratch;
    RealFileOps ops;
    PngMaker maker;
    PicturePool pool{1};
    Answers answers;
    const std::string home = scratch / "cache";
    ThumbnailCache cache{ops, maker, pool, home, Md5};
};

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

// A PNG whose header claims a picture of 4096 x 4096, its CRC right.
std::string HugePng(std::string png) {
    png.replace(16, 8, std::string("\0\0\x10\0\0\0\x10\0", 8));
    uint32_t crc = 0xffffffffU;
    for (size_t i = 12; i < 29; ++i) {
        crc ^= static_cast<unsigned char>(png[i]);
        for (int k = 0; k < 8; ++k) crc = (crc & 1) != 0 ? 0xedb88320U ^ (crc >> 1) : crc >> 1;
    }
    crc ^= 0xffffffffU;
    for (int i = 0; i < 4; ++i)
        png[29 + static_cast<size_t>(i)] = static_cast<char>(crc >> (24 - 8 * i));
    return png;
}

// Where and how the desktop's other programs look: the name is the MD5 sum of the file's URL,
// the keys name the URL and the time in seconds; the user's alone. Asked again, it is answered at
// once without another make; the larger size has its own folder and its own make.
TEST_F(ThumbnailCacheTest, ThumbnailsAreWrittenWhereAndAsTheDesktopFindsThemAndUsedAgain) {
    const std::string photo = Photo("a b/été #1.jpg");
    SetTime(photo, 1700000000);
    const std::string uri = "file://" + scratch / "a%20b/%C3%A9t%C3%A9%20%231.jpg";
    const std::string large = home + "/thumbnails/large/" + Md5(uri) + ".png";

    const ThumbnailAnswer made = Made(photo);
    EXPECT_EQ(made.png, large);
    EXPECT_EQ(made.failure, "");
    const std::optional<PngFacts> facts = Facts(large);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->text.at("Thumb::URI"), uri);
    EXPECT_EQ(facts->text.at("Thumb::MTime"), "1700000000");
    EXPECT_EQ(ModeOf(large), 0600u);
    EXPECT_EQ(ModeOf(home + "/thumbnails"), 0700u);
    EXPECT_EQ(ModeOf(home + "/thumbnails/large"), 0700u);
    EXPECT_EQ(scratch.Names("cache/thumbnails/large").size(), 1u);

    const std::optional<ThumbnailAnswer> again =
        cache.Request(2, photo, ThumbnailSize::Large, 0, answers.Taker());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->png, large);
    EXPECT_EQ(cache.PathOf(photo, ThumbnailSize::Large), large);

    EXPECT_EQ(Made(photo, ThumbnailSize::XLarge).png,
              home + "/thumbnails/x-large/" + Md5(uri) + ".png");
    EXPECT_EQ(maker.Made(), (std::vector<std::string>{"été #1.jpg@256", "été #1.jpg@512"}));
}

// A photo changed since, by its time or by its size within the same second, gets a new thumbnail
// with the new keys; a thumbnail's own file is shown as it is.
TEST_F(ThumbnailCacheTest, AChangedPhotoGetsANewThumbnail) {
    const std::string photo = Photo("p.jpg");
    SetTime(photo, 1700000000);
    const std::string png = Made(photo).png;
    SetTime(photo, 1700000100);
    EXPECT_EQ(Made(photo).png, png);
    EXPECT_EQ(Facts(png)->text.at("Thumb::MTime"), "1700000100");
    WriteBytes(photo, "a longer photo");
    SetTime(photo, 1700000100);
    EXPECT_EQ(Made(photo).png, png);
    EXPECT_EQ(maker.Made().size(), 3u);
    EXPECT_EQ(cache.Request(3, png, ThumbnailSize::Large, 0, answers.Taker()),
              std::optional(ThumbnailAnswer{png, ""}));
}

// A picture that cannot be read answers why, and is remembered in the fail folder so that it is
// not tried again until it changes; a missing file answers at once.
TEST_F(ThumbnailCacheTest, AnUnreadablePhotoAnswersItsReasonUntilItChanges) {
    const std::string photo = Photo("bad.jpg", "bad");
    SetTime(photo, 1700000000);
    EXPECT_EQ(Made(photo), (ThumbnailAnswer{"", "image file is truncated"}));
    const std::string uri = "file://" + photo;
    const std::string entry =
        home + "/thumbnails/fail/vistello-" VISTELLO_VERSION "/" + Md5(uri) + ".png";
    ASSERT_TRUE(Facts(entry));
    EXPECT_EQ(Facts(entry)->text.at("Thumb::URI"), uri);
    EXPECT_EQ(ModeOf(entry), 0600u);

    const std::optional<ThumbnailAnswer> again =
        cache.Request(2, photo, ThumbnailSize::Large, 0, answers.Taker());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->failure, "image file is truncated");
    EXPECT_EQ(maker.Made().size(), 1u);

    WriteBytes(photo, "photo");
    SetTime(photo, 1700000001);
    EXPECT_EQ(Made(photo).failure, "");

    const std::optional<ThumbnailAnswer> missing =
        cache.Request(3, scratch / "gone.jpg", ThumbnailSize::Large, 0, answers.Taker());
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->failure, "No such file or directory");
    EXPECT_EQ(maker.Made().size(), 2u);
}

// Whatever lies in the cache under the photo's name is read as hostile: anything but a whole PNG
// that names this photo and fits the size is made again, never shown.
TEST_F(ThumbnailCacheTest, AHostileFileInTheCacheIsMadeAgainNotTrusted) {
    const std::string photo = Photo("p.jpg");
    const std::string png = Made(photo).png;
    const std::string good = ReadBytes(png);
    const auto keyed = [&](const std::string& uri, const std::string& image) {
        struct stat info {};
        ::stat(photo.c_str(), &info);
        return *WithText(
            image, {{"Thumb::URI", uri}, {"Thumb::MTime", std::to_string(info.st_mtim.tv_sec)}});
    };
    std::string flipped = good;
    flipped[flipped.size() - 20] ^= 1;
    std::string longer = good;
    longer.replace(33, 4, std::string("\x7f\xff\xff\xf0", 4));
    const std::vector<std::pair<std::string, std::string>> hostile = {
        {"a flipped bit", flipped},
        {"cut short", good.substr(0, good.size() - 5)},
        {"bytes after the end", good + "x"},
        {"a chunk longer than the file", longer},
        {"another photo's", keyed("file://" + scratch / "other.jpg", OnePixelPng())},
        {"larger than the size", keyed("file://" + photo, HugePng(OnePixelPng()))},
        {"no PNG", "GIF89a"},
        {"empty", ""},
    };
    for (const auto& [what, bytes] : hostile) {
        WriteBytes(png, bytes);
        EXPECT_EQ(Made(photo).png, png) << what;
        EXPECT_EQ(ReadBytes(png), good) << what;
    }
    fs::remove(png);
    fs::create_directory_symlink(scratch / "cache", png);
    EXPECT_EQ(Made(photo).png, png);
    EXPECT_EQ(ReadBytes(png), good);
    EXPECT_EQ(maker.Made().size(), hostile.size() + 2);
}

// Visible tiles first: the one thread is kept busy while more are asked for; what waits is made
// lowest order first as last ordered, a cancelled one never, and an earlier request of a ticket
// asked again is not answered.
TEST_F(ThumbnailCacheTest, WaitingThumbnailsAreMadeInTheirLatestOrderAndCancelledOnesNever) {
    maker.Hold(true);
    EXPECT_FALSE(cache.Request(1, Photo("1.jpg"), ThumbnailSize::Large, 0, answers.Taker()));
    maker.WaitForMakes(1);
    for (uint64_t ticket = 2; ticket <= 6; ++ticket)
        EXPECT_FALSE(cache.Request(ticket, Photo(std::to_string(ticket) + ".jpg"),
                                   ThumbnailSize::Large, static_cast<int>(ticket),
                                   answers.Taker()));
    cache.Reorder([](uint64_t ticket) { return ticket == 5 ? -1 : 10 - static_cast<int>(ticket); });
    cache.Cancel(4);
    cache.Cancel(1);
    EXPECT_FALSE(cache.Request(3, Photo("3.jpg"), ThumbnailSize::Large, 0, answers.Taker()));
    maker.Hold(false);
    for (int i = 0; i < 4; ++i) answers.Next();
    EXPECT_EQ(answers.Tickets(), (std::vector<uint64_t>{5, 3, 6, 2}));
    EXPECT_EQ(maker.Made(), (std::vector<std::string>{"1.jpg@256", "5.jpg@256", "3.jpg@256",
                                                      "6.jpg@256", "2.jpg@256"}));
}

// A cache that ends waits for the thumbnail under way, which works with what the cache was given,
// and answers nothing more.
TEST_F(ThumbnailCacheTest, AnEndedCacheAnswersNothingMore) {
    Answers late;
    maker.Hold(true);
    const std::jthread release([this] {
        maker.WaitForMakes(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        maker.Hold(false);
    });
    std::optional<ThumbnailCache> ending(std::in_place, ops, maker, pool, home, Md5);
    EXPECT_FALSE(ending->Request(1, Photo("1.jpg"), ThumbnailSize::Large, 0, late.Taker()));
    EXPECT_FALSE(ending->Request(2, Photo("2.jpg"), ThumbnailSize::Large, 0, late.Taker()));
    maker.WaitForMakes(1);
    ending.reset();
    EXPECT_EQ(maker.Finished(), 1);
    EXPECT_EQ(late.Tickets(), std::vector<uint64_t>{});
    EXPECT_EQ(maker.Made().size(), 1u);
}

}  // namespace
}  // namespace vistello::testing
