#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "clip/child_process.h"
#include "clip/ffprobe_clip_reader.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

// A second of ffmpeg's own test picture, with what a camera would have recorded.
void MakeClip(const std::string& path, const std::vector<std::string>& recorded) {
    std::vector<std::string> args = {
        "ffmpeg", "-v",   "error", "-f", "lavfi", "-i", "testsrc=duration=1:size=64x48:rate=10",
        "-c:v",   "mpeg4"};
    for (const std::string& tag : recorded) args.insert(args.end(), {"-metadata", tag});
    // As a phone keeps them: under its own keys, beside the container's.
    args.insert(args.end(), {"-movflags", "use_metadata_tags"});
    args.insert(args.end(), {"-y", "file:" + fs::absolute(path).string()});
    ASSERT_TRUE(RunChild(args).Succeeded());
}

// The clip's own title and the time it was recorded, by the phone's clock where it kept it, else
// by this computer's; a clip that says nothing, nothing; what is no clip cannot be read, nor is a
// FIFO waited on. A name that begins like an option is a file like any other.
TEST(ClipReaderTest, ReadsTheTitleAndTheTimeRecorded) {
    ScratchDir scratch;
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
    MakeClip("harbour.mp4", {"title=Harbour at dawn", "creation_time=2026-05-14T18:32:10.000000Z"});
    MakeClip("phone.mov", {"com.apple.quicktime.title=Boats",
                           "com.apple.quicktime.creationdate=2026-05-14T18:32:10-0700",
                           "creation_time=2026-05-15T01:32:10.000000Z"});
    MakeClip("-y.mov", {});
    WriteBytes("notes.mp4", "just words");
    ASSERT_EQ(::mkfifo("pipe.mp4", 0600), 0);
    FfprobeClipReader reader;
    const std::optional<ClipDetails> harbour = reader.Read("harbour.mp4");
    ASSERT_TRUE(harbour);
    EXPECT_EQ(harbour->title, "Harbour at dawn");
    EXPECT_EQ(harbour->recordedAt, IsoTakenAt("2026-05-14T18:32:10Z"));
    EXPECT_EQ(harbour->recordedText, "2026-05-14 20:32");
    const std::optional<ClipDetails> phone = reader.Read("phone.mov");
    ASSERT_TRUE(phone);
    EXPECT_EQ(phone->title, "Boats");
    EXPECT_EQ(phone->recordedAt, harbour->recordedAt.value() + 7 * 3600 * 1000);
    EXPECT_EQ(phone->recordedText, "2026-05-14 18:32");
    ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(reader.Read("-y.mov"), ClipDetails{});
    EXPECT_EQ(reader.Read("notes.mp4"), std::nullopt);
    EXPECT_EQ(reader.Read("pipe.mp4"), std::nullopt);
}

// A title of several lines is read whole, on one line, and cannot pass for another value.
TEST(ClipReaderTest, ATitleIsReadWholeAndAsText) {
    ScratchDir scratch;
    MakeClip("odd.mp4", {"title=Harbour\nTAG:title=forged\nat dawn",
                         "creation_time=2026-05-14T18:32:10.000000Z"});
    const std::optional<ClipDetails> odd = FfprobeClipReader().Read("odd.mp4");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->title, "Harbour TAG:title=forged at dawn");
}

// A playlist or a list of files saved under a clip's name is no clip: nothing it names is read,
// whether a server, a private clip elsewhere or a FIFO that would never answer.
TEST(ClipReaderTest, AListDressedAsAClipIsNotFollowed) {
    ScratchDir scratch;
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(::listen(server, 4), 0);
    ::getsockname(server, reinterpret_cast<sockaddr*>(&address), &size);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    MakeClip("private.mp4", {"title=Private"});
    ASSERT_EQ(::mkfifo("never", 0600), 0);
    const std::string privateClip = fs::absolute("private.mp4").string();
    WriteBytes("web.mp4",
               "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" + url + "/a.ts\n#EXT-X-ENDLIST\n");
    WriteBytes("holiday.mp4", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nfile:" + privateClip +
                                  "\n#EXT-X-ENDLIST\n");
    WriteBytes("beach.mov", "ffconcat version 1.0\nfile '" + privateClip + "'\n");
    WriteBytes("stuck.mov",
               "ffconcat version 1.0\nfile '" + fs::absolute("never").string() + "'\n");
    FfprobeClipReader reader;
    for (const char* list : {"web.mp4", "holiday.mp4", "beach.mov", "stuck.mov"})
        EXPECT_EQ(reader.Read(list), std::nullopt) << list;
    EXPECT_LT(::accept(server, nullptr, nullptr), 0);
    ::close(server);
}

}  // namespace
}  // namespace vistello::testing
