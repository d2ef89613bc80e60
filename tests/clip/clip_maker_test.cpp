#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <functional>
#include <span>
#include <tuple>

#include "clip/child_process.h"
#include "clip/clip_source.h"
#include "clip/ffmpeg_clip_maker.h"
#include "clip/ready_mp4.h"
#include "clip/streams_only.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

// ffmpeg told to make `path` as the arguments say.
void Ffmpeg(const std::string& path, std::vector<std::string> args) {
    args.insert(args.begin(), {"ffmpeg", "-v", "error"});
    args.insert(args.end(), {"-y", "file:" + fs::absolute(path).string()});
    ASSERT_TRUE(RunChild(args).Succeeded()) << path;
}

// Two seconds of ffmpeg's test picture and tone, of the given size, with what a phone records.
void MakeClip(const std::string& path, const std::string& size) {
    Ffmpeg(path, {"-f", "lavfi", "-i", "testsrc=duration=2:rate=10:size=" + size, "-f", "lavfi",
                  "-i", "sine=duration=2", "-c:v", "mpeg4", "-c:a", "aac", "-metadata",
                  "location=+48.8577+002.2950/"});
}

// A second of the test picture as H.264 in 4:2:0 without metadata, and what more is asked.
void MakeH264(const std::string& path, std::vector<std::string> more) {
    std::vector<std::string> args = {"-f",
                                     "lavfi",
                                     "-i",
                                     "testsrc=duration=1:rate=10:size=320x240",
                                     "-c:v",
                                     "libx264",
                                     "-pix_fmt",
                                     "yuv420p",
                                     "-map_metadata",
                                     "-1"};
    args.insert(args.end(), more.begin(), more.end());
    Ffmpeg(path, args);
}

// What ffprobe says of a made file, as "key=value" lines.
std::string Probe(const std::string& path) {
    return RunChild({"ffprobe", "-v", "error", "-show_entries",
                     "stream=codec_name,pix_fmt,width,height:stream_side_data=rotation:format_tags",
                     "-of", "default=noprint_wrappers=1", "file:" + path})
        .out;
}

// The checksum of every picture and sound frame of a file as decoded, their times and the file's
// length, to compare a made file with its clip: what is published plays exactly as the clip.
std::string Streams(const std::string& path) {
    return RunChild(
               {"ffmpeg", "-v", "error", "-i", "file:" + path, "-map", "0", "-f", "framemd5", "-"})
               .out +
           RunChild({"ffprobe", "-v", "error", "-show_entries", "format=duration", "-of", "csv",
                     "file:" + path})
               .out;
}

class ClipMakerTest : public ::testing::Test {
protected:
    // Made into `target`; the outcome says its size or why not.
    ClipOutcome Make(
        const ClipJob& job, const std::string& target, bool poster = false,
        const ClipGoing& going = [](double) { return true; }) {
        const int fd = ::open(target.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const ClipOutcome outcome =
            poster ? maker.MakePoster(job, fd, going) : maker.MakeVideo(job, fd, going);
        ::close(fd);
        return outcome;
    }

    ScratchDir scratch;
    FfmpegClipMaker maker;
};

// H.264 in 4:2:0 with AAC, even sides, never enlarged, turned upright; the place it was filmed
// goes unless kept. The poster is a JPEG of the same size.
TEST_F(ClipMakerTest, MakesAVersionEveryBrowserPlays) {
    ASSERT_EQ(maker.Unavailable(), "");
    MakeClip("odd.mov", "321x241");
    ClipOutcome made = Make({"odd.mov", 1920, false}, "odd.mp4");
    EXPECT_EQ(made.failure, "");
    EXPECT_EQ(std::pair(made.width, made.height), std::pair(320, 240));
    const std::string probed = Probe("odd.mp4");
    for (const char* fact : {"codec_name=h264", "pix_fmt=yuv420p", "codec_name=aac"})
        EXPECT_NE(probed.find(fact), std::string::npos) << fact << "\n" << probed;
    EXPECT_EQ(probed.find("location"), std::string::npos) << probed;
    made = Make({"odd.mov", 160, true}, "kept.mp4");
    EXPECT_EQ(std::pair(made.width, made.height), std::pair(160, 120));
    EXPECT_NE(Probe("kept.mp4").find("location"), std::string::npos);
    made = Make({"odd.mov", 1920, false}, "poster.jpg", true);
    EXPECT_EQ(std::pair(made.width, made.height), std::pair(320, 240));
    EXPECT_NE(Probe("poster.jpg").find("codec_name=mjpeg"), std::string::npos);

    // A phone held upright records its picture lying down, with the turn to show it by.
    MakeClip("flat.mp4", "320x240");
    Ffmpeg("turned.mp4", {"-i", "file:" + fs::absolute("flat.mp4").string(), "-c", "copy",
                          "-metadata:s:v:0", "rotate=90"});
    made = Make({"turned.mp4", 1920, false}, "upright.mp4");
    EXPECT_EQ(std::pair(made.width, made.height), std::pair(240, 320));
    EXPECT_EQ(Probe("upright.mp4").find("rotation"), std::string::npos);
}

// VP9 in WebM without sound, and a phone's 10-bit HEVC in QuickTime where this ffmpeg can make
// one, become H.264 in 4:2:0; sound is there only where the clip had some.
TEST_F(ClipMakerTest, MakesClipsOfOtherKindsPlayable) {
    const std::string picture = "testsrc=duration=1:rate=10:size=320x240";
    std::vector<std::tuple<std::string, std::vector<std::string>, bool>> clips = {
        {"silent.webm", {"-f", "lavfi", "-i", picture, "-c:v", "libvpx-vp9"}, false}};
    if (RunChild({"ffmpeg", "-v", "error", "-h", "encoder=libx265"}).out.find("libx265") !=
        std::string::npos) {
        clips.push_back({"phone.mov",
                         {"-f", "lavfi", "-i", picture, "-f", "lavfi", "-i", "sine=duration=1",
                          "-c:v", "libx265", "-x265-params", "log-level=error", "-pix_fmt",
                          "yuv420p10le", "-tag:v", "hvc1", "-c:a", "aac"},
                         true});
    }
    for (const auto& [name, args, sound] : clips) {
        Ffmpeg(name, args);
        EXPECT_EQ(Make({name, 1920, false}, "web.mp4").failure, "") << name;
        const std::string probed = Probe("web.mp4");
        for (const char* fact : {"codec_name=h264", "pix_fmt=yuv420p\n"})
            EXPECT_NE(probed.find(fact), std::string::npos) << fact << "\n" << probed;
        EXPECT_EQ(probed.find("codec_name=aac") != std::string::npos, sound) << probed;
    }
}

// What exiftool finds of where a file was filmed.
std::string Location(const std::string& path) {
    return RunChild({"exiftool", "-q", "-q", "-a", "-n", "-*GPS*", path}).out;
}

// A clip whose streams already are what the web version's would be keeps them, losslessly: as it
// is where its details are kept, else in a new file without them, the location that an XMP box
// holds among them. A clip turned, too large, with its index last or with other sound is made
// again, upright and with AAC.
TEST_F(ClipMakerTest, KeepsReadyStreamsAndNothingElseUnlessAsked) {
    MakeH264("ready.mp4", {"-movflags", "+faststart"});
    ASSERT_TRUE(RunChild({"exiftool", "-q", "-overwrite_original", "-XMP:GPSLatitude=48.8577",
                          "-XMP:GPSLongitude=2.295", "ready.mp4"})
                    .Succeeded());
    ASSERT_NE(Location("ready.mp4"), "");
    EXPECT_EQ(Make({"ready.mp4", 1920, true}, "kept.mp4").width, 320);
    EXPECT_EQ(ReadBytes("kept.mp4"), ReadBytes("ready.mp4"));
    EXPECT_EQ(Make({"ready.mp4", 1920, false}, "bare.mp4").width, 320);
    EXPECT_EQ(Location("bare.mp4"), "");
    EXPECT_EQ(Streams("bare.mp4"), Streams("ready.mp4"));
    EXPECT_NE(Probe("bare.mp4").find("codec_name=h264"), std::string::npos);

    MakeH264("late.mp4", {});
    MakeH264("flat.mp4", {});
    Ffmpeg("turned.mp4", {"-i", "file:" + fs::absolute("flat.mp4").string(), "-c", "copy",
                          "-metadata:s:v:0", "rotate=90", "-movflags", "+faststart"});
    Ffmpeg("mp3.mp4",
           {"-i", "file:" + fs::absolute("ready.mp4").string(), "-f", "lavfi", "-i",
            "sine=duration=1", "-c:v", "copy", "-c:a", "libmp3lame", "-movflags", "+faststart"});
    EXPECT_EQ(Make({"late.mp4", 1920, true}, "made.mp4").width, 320);
    EXPECT_NE(ReadBytes("made.mp4"), ReadBytes("late.mp4"));
    EXPECT_EQ(Make({"ready.mp4", 160, false}, "small.mp4").width, 160);
    EXPECT_EQ(Make({"ready.mp4", 300, false}, "small.mp4").width, 300);
    const ClipOutcome upright = Make({"turned.mp4", 1920, false}, "upright.mp4");
    EXPECT_EQ(std::pair(upright.width, upright.height), std::pair(240, 320));
    Make({"mp3.mp4", 1920, false}, "sound.mp4");
    EXPECT_NE(Probe("sound.mp4").find("codec_name=aac"), std::string::npos);
}

// A box of that type around those bytes.
std::string Box(const std::string& type, const std::string& body) {
    std::string box(4, '\0');
    for (int i = 0; i < 4; ++i) box[i] = static_cast<char>((body.size() + 8) >> (24 - 8 * i));
    return box + type + body;
}

size_t SizeAt(const std::string& bytes, size_t at) {
    size_t size = 0;
    for (int i = 0; i < 4; ++i) size = size << 8 | static_cast<unsigned char>(bytes[at + i]);
    return size;
}

using BoxEdit = std::function<std::string(const std::string& box)>;

// The first box of each type down `path`, within [begin, end), made over by `edit` and the boxes
// around it resized to fit; how much longer the file became.
long EditBox(std::string& file, size_t begin, size_t end, std::span<const std::string> path,
             const BoxEdit& edit) {
    for (size_t at = begin; at + 8 <= end; at += SizeAt(file, at)) {
        if (file.compare(at + 4, 4, path[0]) != 0) continue;
        const size_t size = SizeAt(file, at);
        std::string box = path.size() == 1 ? edit(file.substr(at, size)) : file.substr(at, size);
        const long grown = path.size() == 1
                               ? static_cast<long>(box.size() - size)
                               : EditBox(file, at + 8, at + size, path.subspan(1), edit);
        if (path.size() == 1) file.replace(at, size, box);
        file.replace(at, 4, Box("", std::string(size + grown - 8, '\0')).substr(0, 4));
        return grown;
    }
    ADD_FAILURE() << "no " << path[0];
    return 0;
}

void EditBox(const std::string& path, std::vector<std::string> boxes, const BoxEdit& edit) {
    std::string file = ReadBytes(path);
    EditBox(file, 0, file.size(), boxes, edit);
    WriteBytes(path, file);
}

// A ready clip's version holds its streams, the index first, and nothing about it: no place, no
// time of filming, no box of its own, wherever the clip kept them.
void ExpectOnlyTheStreams(const std::string& clip, const std::string& made) {
    EXPECT_EQ(Location(made), "") << clip;
    EXPECT_EQ(RunChild({"exiftool", "-q", "-q", "-a", "-time:all", made}).out.find("2021"),
              std::string::npos)
        << clip;
    const std::string bytes = ReadBytes(made);
    const std::string index = bytes.substr(0, bytes.find("mdat"));
    EXPECT_NE(index.find("moov"), std::string::npos) << clip;
    for (const char* box : {"udta", "meta", "uuid", "keys"})
        EXPECT_EQ(index.find(box), std::string::npos) << box << " in " << clip;
    EXPECT_EQ(Streams(made), Streams(clip)) << clip;
    EXPECT_EQ(RunChild({"ffmpeg", "-v", "error", "-i", "file:" + made, "-f", "null", "-"}).err, "");
}

// A second of the test picture and tone, ready for the web: H.264 in 4:2:0 and AAC, with what more
// is asked.
void MakeReady(const std::string& clip, std::vector<std::string> more) {
    std::vector<std::string> args = {"-f",
                                     "lavfi",
                                     "-i",
                                     "testsrc=duration=1:rate=10:size=320x240",
                                     "-f",
                                     "lavfi",
                                     "-i",
                                     "sine=duration=1",
                                     "-c:v",
                                     "libx264",
                                     "-pix_fmt",
                                     "yuv420p",
                                     "-c:a",
                                     "aac",
                                     "-map_metadata",
                                     "-1"};
    args.insert(args.end(), more.begin(), more.end());
    Ffmpeg(clip, args);
}

// Where a camera, a phone or an editor keeps the place and time of filming, in the index or in a
// track, in the index's own order or the other way round, none of it is published.
TEST_F(ClipMakerTest, PublishesReadyStreamsWithoutWhereOrWhenTheyWereFilmed) {
    MakeReady("user.mp4", {"-movflags", "+faststart"});
    MakeReady("keys.mp4", {"-movflags", "+faststart"});
    MakeReady("track.mp4", {});
    MakeReady("wide.mp4", {});
    MakeReady("hidden.mp4", {"-movflags", "+faststart"});
    // Times of 64 bits, in the second version of the movie's header.
    MakeReady("long.mp4", {"-metadata", "creation_time=2021-06-01T10:00:00Z"});
    EditBox("long.mp4", {"moov", "mvhd"}, [](const std::string& mvhd) {
        const std::string body = mvhd.substr(8);
        const std::string zero(4, '\0');
        return Box("mvhd", std::string("\1\0\0\0", 4) + zero + body.substr(4, 4) + zero +
                               body.substr(8, 8) + zero + body.substr(16));
    });
    for (const auto& [clip, tag] :
         {std::pair("user.mp4", "-UserData:GPSCoordinates=48.8577, 2.295"),
          std::pair("keys.mp4", "-Keys:GPSCoordinates=48.8577, 2.295")})
        ASSERT_TRUE(RunChild({"exiftool", "-q", "-overwrite_original", tag,
                              "-QuickTime:CreateDate=2021:06:01 10:00:00",
                              "-QuickTime:TrackCreateDate=2021:06:01 10:00:00",
                              "-QuickTime:MediaCreateDate=2021:06:01 10:00:00", clip})
                        .Succeeded());
    // A place of filming a track keeps in its own user data, and offsets of 64 bits.
    EditBox("track.mp4", {"moov", "trak"}, [](const std::string& trak) {
        return trak +
               Box("udta", Box("\xA9xyz", std::string("\0\x12\x15\xC7", 4) + "+48.8577+002.2950/"));
    });
    EditBox("wide.mp4", {"moov", "trak", "mdia", "minf", "stbl", "stco"},
            [](const std::string& stco) {
                std::string wide = stco.substr(8, 8);
                for (size_t at = 16; at < stco.size(); at += 4)
                    wide += std::string(4, '\0') + stco.substr(at, 4);
                return Box("co64", wide);
            });
    // Bytes no sample holds, at the end of the media data.
    EditBox("hidden.mp4", {"mdat"}, [](const std::string& mdat) {
        return Box("mdat", mdat.substr(8) + "+48.8577+002.2950/");
    });
    for (const char* clip : {"user.mp4", "keys.mp4", "track.mp4"})
        ASSERT_NE(Location(clip), "") << clip;
    for (const char* clip : {"user.mp4", "keys.mp4", "track.mp4", "wide.mp4", "long.mp4"}) {
        const ClipOutcome made = Make({clip, 1920, false}, "web.mp4");
        EXPECT_EQ(made.failure, "") << clip;
        EXPECT_EQ(std::pair(made.width, made.height), std::pair(320, 240)) << clip;
        ExpectOnlyTheStreams(clip, "web.mp4");
    }
    EXPECT_EQ(Make({"hidden.mp4", 1920, false}, "web.mp4").failure, "");
    EXPECT_EQ(ReadBytes("web.mp4").find("+48.8577"), std::string::npos);
    EXPECT_EQ(RunChild({"ffmpeg", "-v", "error", "-i", "file:web.mp4", "-f", "null", "-"}).err, "");
}

// Nothing that names the camera or the program that made a ready clip, nor anything hidden in a
// field or table a player never reads, is published: the index is built anew from what a player
// reads, and whatever holds more than its fields is made again by ffmpeg.
TEST_F(ClipMakerTest, PublishesNothingOfWhatMadeTheClipNorHiddenInItsIndex) {
    MakeReady("named.mp4", {});
    // What made the clip, in the handler's name and the compressor's ...
    EditBox("named.mp4", {"moov", "trak", "mdia", "hdlr"}, [](const std::string& hdlr) {
        return Box("hdlr", hdlr.substr(8, 24) + std::string("SECRET camera\0", 14));
    });
    // ... bytes after the decoder's configuration ...
    EditBox("named.mp4", {"moov", "trak", "mdia", "minf", "stbl", "stsd"}, [](std::string stsd) {
        stsd.replace(8 + 16 + 42, 6, "SECRET");
        const size_t config = stsd.find("avcC") - 4;
        stsd.insert(config + SizeAt(stsd, config), "SECRET");
        for (const size_t at : {config, size_t{16}})
            stsd.replace(at, 4, Box("", std::string(SizeAt(stsd, at) - 2, 'x')).substr(0, 4));
        return Box("stsd", stsd.substr(8));
    });
    // ... and reserved bytes of the movie's header.
    EditBox("named.mp4", {"moov", "mvhd"},
            [](std::string mvhd) { return mvhd.replace(8 + 72, 6, "SECRET"); });
    MakeH264("vendor.mov", {});
    // More than a table's fields, and a table twice.
    MakeReady("padded.mp4", {});
    EditBox("padded.mp4", {"moov", "trak", "mdia", "minf", "stbl", "stts"},
            [](const std::string& stts) { return Box("stts", stts.substr(8) + "SECRET"); });
    MakeReady("longer.mp4", {});
    EditBox("longer.mp4", {"moov", "trak", "tkhd"},
            [](const std::string& tkhd) { return Box("tkhd", tkhd.substr(8) + "SECRET"); });
    MakeReady("twice.mp4", {});
    EditBox("twice.mp4", {"moov", "trak", "mdia", "minf", "stbl"}, [](const std::string& stbl) {
        return Box("stbl", stbl.substr(8) + Box("stss", std::string(7, '\0') + "\2SECRET!!"));
    });
    for (const auto& [clip, fast] : {std::pair("named.mp4", true), std::pair("vendor.mov", true),
                                     std::pair("padded.mp4", false), std::pair("longer.mp4", false),
                                     std::pair("twice.mp4", false)}) {
        EXPECT_EQ(Make({clip, 1920, false}, "web.mp4").failure, "") << clip;
        const std::string made = ReadBytes("web.mp4");
        const std::string index = made.substr(0, made.find("mdat"));
        EXPECT_EQ(index.find("udta") == std::string::npos, fast) << clip;
        for (const char* hidden : {"SECRET", "FFMP"})
            EXPECT_EQ(index.find(hidden), std::string::npos) << hidden << " in " << clip;
        EXPECT_EQ(RunChild({"ffmpeg", "-v", "error", "-i", "file:web.mp4", "-f", "null", "-"}).err,
                  "")
            << clip;
    }
}

// Neither the tools nor the encoders that made a clip leave their names in what is published, nor
// does the user data a camera writes among the pictures, where it was among it: not in a clip made
// again, a ready one the tools copy or one copied in process, which still plays as the clip did,
// nor in a poster.
TEST_F(ClipMakerTest, PublishesNoMessagesAmongThePicturesNorAnyToolsName) {
    MakeReady("signed.mp4",
              {"-x264-params", "nal-hrd=vbr", "-maxrate", "1M", "-bufsize", "2M", "-bsf:v",
               "h264_metadata=sei_user_data=086f3693-b7b3-4f2c-9653-21492feee5b8+SEIGPS48.8583N2."
               "2945E"});
    // More in a table than its fields leaves the clip to the tools to copy.
    WriteBytes("copied.mp4", ReadBytes("signed.mp4"));
    EditBox("copied.mp4", {"moov", "trak", "mdia", "minf", "stbl", "stts"},
            [](const std::string& stts) { return Box("stts", stts.substr(8) + "SECRET"); });
    for (const char* clip : {"signed.mp4", "copied.mp4"})
        ASSERT_TRUE(RunChild({"exiftool", "-q", "-overwrite_original", "-XMP:GPSLatitude=48.8583",
                              "-XMP:GPSLongitude=2.2945", clip})
                        .Succeeded());
    const std::vector<std::string> words = {"SEIGPS", "Lavf", "Lavc", "x264"};
    for (const std::string& word : words)
        ASSERT_NE(ReadBytes("signed.mp4").find(word), std::string::npos);
    for (const auto& [clip, side, made] :
         {std::tuple("signed.mp4", 1920, "web.mp4"), std::tuple("copied.mp4", 1920, "web.mp4"),
          std::tuple("signed.mp4", 160, "web.mp4"), std::tuple("signed.mp4", 1920, "poster.jpg")}) {
        const std::string what = clip + std::string(" at ") + std::to_string(side) + " as " + made;
        EXPECT_EQ(Make({clip, side, false}, made, made == std::string("poster.jpg")).failure, "")
            << what;
        const std::string bytes = ReadBytes(made);
        for (const std::string& word : words)
            EXPECT_EQ(bytes.find(word), std::string::npos) << word << " in " << what;
        EXPECT_EQ(Location(made), "") << what;
    }
    Make({"signed.mp4", 1920, false}, "web.mp4");
    EXPECT_EQ(Streams("web.mp4"), Streams("signed.mp4"));
}

// Bits written as '0' and '1', spaces between fields, packed into bytes padded with zeros.
std::string Packed(const std::string& bits) {
    std::string bytes;
    int count = 0;
    for (const char bit : bits) {
        if (bit == ' ') continue;
        if (count % 8 == 0) bytes.push_back('\0');
        bytes.back() = static_cast<char>(bytes.back() | (bit == '1') << (7 - count++ % 8));
    }
    return bytes;
}

std::string BitsOf(const std::string& bytes) {
    std::string bits;
    for (const char byte : bytes) {
        for (int i = 7; i >= 0; --i) bits += (byte >> i & 1) ? '1' : '0';
    }
    return bits;
}

// The fill and data a sound's frames begin with, before their channels, are blanked in place as
// the standard's filler and zeros; fill a decoder reads stays; a frame that begins with a program
// of channels is left to the tools.
TEST_F(ClipMakerTest, BlanksTheFillAndDataSoundFramesBeginWith) {
    const std::string secret = BitsOf("SECRET");
    const std::vector<std::string> frames = {
        Packed("110 0111 0010 0000" + secret + "000 0000"),
        Packed("110 0000 100 0101 1 00000110 0" + BitsOf("48.85E") + "111"),
        Packed("110 0010 1011 0000 00000000 001 1111")};
    std::string sizes(12, '\0');
    sizes[11] = static_cast<char>(frames.size());
    for (const std::string& frame : frames) sizes += std::string(3, '\0') + char(frame.size());
    const auto blanked = [&sizes](const std::string& sound) {
        WriteBytes("sound", sound);
        const int fd = ::open("sound", O_RDONLY | O_CLOEXEC);
        const TrackSamples samples{3, {{0, sound.size()}}, {3}, sizes};
        const std::optional<std::vector<Patch>> patches = LeadingDataBlanked(fd, samples);
        ::close(fd);
        std::optional<std::string> published;
        if (patches) published = sound;
        for (const Patch& patch : patches.value_or(std::vector<Patch>{}))
            published->replace(patch.at, patch.bytes.size(), patch.bytes);
        return published;
    };
    EXPECT_EQ(blanked(frames[0] + frames[1] + frames[2]),
              Packed("110 0111 0001 0000" + BitsOf(std::string(6, '\xA5')) + "000 0000") +
                  Packed("110 0000 100 0000 1 00000110 0" + std::string(48, '0') + "111") +
                  frames[2]);
    const std::string program = Packed("101 0000 1111") + std::string(frames[0].size() - 2, '\0');
    EXPECT_EQ(blanked(program + frames[1] + frames[2]), std::nullopt);
}

// Whatever the in-process reader is unsure of is not ready, and left to the tools: a second
// index, samples kept in another file, a box of 64 bits shorter than its own header, and
// anything that is no regular file.
TEST_F(ClipMakerTest, TakesNothingUnsureForReady) {
    const auto ready = [](const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        const bool is = ReadReadyMp4(fd, 1920).has_value();
        ::close(fd);
        return is;
    };
    MakeH264("base.mp4", {"-movflags", "+faststart"});
    ASSERT_TRUE(ready("base.mp4"));
    const std::string base = ReadBytes("base.mp4");
    const size_t index = base.find("moov") - 4;
    WriteBytes("twice.mp4", base + base.substr(index, SizeAt(base, index)));
    WriteBytes("short.mp4", base + std::string("\0\0\0\1free\0\0\0\0\0\0\0\x08", 16));
    WriteBytes("elsewhere.mp4", base);
    EditBox("elsewhere.mp4", {"moov", "trak", "mdia", "minf", "dinf", "dref"},
            [](std::string dref) {
                dref[27] = '\0';
                return dref;
            });
    for (const char* clip : {"twice.mp4", "short.mp4", "elsewhere.mp4"})
        EXPECT_FALSE(ready(clip)) << clip;
    ASSERT_EQ(::mkfifo("pipe.mp4", 0600), 0);
    const int writer = ::open("pipe.mp4", O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::write(writer, base.data(), 64), 64);
    EXPECT_EQ(ClipSource::Open("pipe.mp4"), std::nullopt);
    ::close(writer);
}

// What the in-process path publishes of a clip into "published.mp4": the file up to its media
// data, when the file is whole (a file type, the index, media data to its end); nothing
// when the clip is left to the tools.
std::optional<std::string> PublishedIndex(const std::string& clip) {
    const int in = ::open(clip.c_str(), O_RDONLY | O_CLOEXEC);
    const std::optional<ReadyMp4> ready = ReadReadyMp4(in, 1920);
    const int out = ::open("published.mp4", O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = ready && WriteStreamsOnly(*ready, in, out, {}) == Written::kDone;
    const std::optional<std::vector<FileBox>> boxes = TopLevelBoxes(out);
    ::close(out);
    ::close(in);
    if (!written) return std::nullopt;
    std::string types;
    for (const FileBox& box : boxes.value_or(std::vector<FileBox>{})) types += box.Type();
    const std::string made = ReadBytes("published.mp4");
    EXPECT_EQ(types, "ftypmoovmdat") << clip;
    if (types != "ftypmoovmdat") return std::nullopt;
    EXPECT_EQ(boxes->back().offset + boxes->back().size, made.size()) << clip;
    return made.substr(0, boxes->back().offset);
}

// Moves every chunk the index's 32-bit tables name `by` bytes on in the file.
void MoveChunks(std::string& file, size_t by) {
    for (size_t at = file.find("stco"); at != std::string::npos; at = file.find("stco", at + 1)) {
        for (size_t i = 0; i < SizeAt(file, at + 8); ++i) {
            const size_t offset = at + 12 + 4 * i;
            file.replace(offset, 4,
                         Box("", std::string(SizeAt(file, offset) + by - 8, '\0')).substr(0, 4));
        }
    }
}

// Overwrites bytes `at` into the body of the box of the type after the index's start, the first
// or the one `nth` after it.
void Poke(std::string& file, const std::string& type, size_t at, const std::string& bytes,
          int nth = 0) {
    size_t box = file.find(type, file.find("moov"));
    for (int i = 0; i < nth && box != std::string::npos; ++i) box = file.find(type, box + 1);
    ASSERT_NE(box, std::string::npos) << type;
    file.replace(box + 4 + at, bytes.size(), bytes);
}

// Edits the child box of the type in the first track's sample entry, which starts `fields` bytes
// into the entry's body.
void EditEntryChild(const std::string& clip, const std::string& type, const BoxEdit& edit) {
    EditBox(clip, {"moov", "trak", "mdia", "minf", "stbl", "stsd"}, [&](std::string stsd) {
        const size_t child = stsd.find(type) - 4;
        const std::string edited = edit(stsd.substr(child, SizeAt(stsd, child)));
        stsd.replace(child, SizeAt(stsd, child), edited);
        const size_t entry = 16;
        stsd.replace(entry, 4, Box("", std::string(stsd.size() - entry - 8, '\0')).substr(0, 4));
        return Box("stsd", stsd.substr(8));
    });
}

// Appends bytes to the picture's sequence (0) or picture (1) parameter set in its configuration.
BoxEdit LongerSet(int set, const std::string& more) {
    return [set, more](std::string avcC) {
        size_t at = 8 + 6;
        if (set == 1) at += 2 + SizeAt(std::string(2, '\0') + avcC.substr(at, 2), 0) + 1;
        const size_t length = SizeAt(std::string(2, '\0') + avcC.substr(at, 2), 0);
        avcC.insert(at + 2 + length, more);
        avcC[at] = static_cast<char>((length + more.size()) >> 8);
        avcC[at + 1] = static_cast<char>(length + more.size());
        return Box("avcC", avcC.substr(8));
    };
}

// Whatever a field a player never reads, a spare bit of a table or a parameter set holds, the
// index published is the untouched clip's, or the clip is left to the tools; a clip that only
// differs in what is cleared anyway is still published in process.
TEST_F(ClipMakerTest, NothingHiddenInAReadyClipReachesItsPublishedIndex) {
    MakeReady("base.mp4", {});
    MakeReady("headers.mp4", {"-x264-params", "repeat-headers=1"});
    const std::optional<std::string> base = PublishedIndex("base.mp4");
    ASSERT_TRUE(base.has_value());
    EXPECT_EQ(Streams("published.mp4"), Streams("base.mp4"));
    const std::string original = ReadBytes("base.mp4");
    using FileEdit = std::function<void(std::string&)>;
    const auto poke = [](const std::string& type, size_t at, const std::string& bytes,
                         int nth = 0) {
        return FileEdit([=](std::string& file) { Poke(file, type, at, bytes, nth); });
    };
    const auto entry = [](const std::string& type, const BoxEdit& edit) {
        return FileEdit([=](std::string& file) {
            WriteBytes("edited.mp4", file);
            EditEntryChild("edited.mp4", type, edit);
            file = ReadBytes("edited.mp4");
        });
    };
    const auto edit = [](std::vector<std::string> path, const BoxEdit& change) {
        return FileEdit([=](std::string& file) {
            WriteBytes("edited.mp4", file);
            EditBox("edited.mp4", path, change);
            file = ReadBytes("edited.mp4");
        });
    };
    const auto boxIn = [edit](std::vector<std::string> path, const std::string& box) {
        return edit(path, [box](const std::string& parent) { return parent + box; });
    };
    const auto with = [](std::vector<std::string> path, const std::string& type) {
        path.push_back(type);
        return path;
    };
    const std::vector<std::string> table = {"moov", "trak", "mdia", "minf", "stbl"};
    const std::string secret = "SECRET";
    const std::vector<std::tuple<const char*, bool, FileEdit>> edits = {
        {"times of filming", true, poke("mvhd", 4, secret)},
        {"movie's rate and volume", true, poke("mvhd", 20, secret)},
        {"movie's reserved bytes", true, poke("mvhd", 26, secret)},
        {"track's spare flags", true, poke("tkhd", 1, "\x5E\xC0")},
        {"track's layer and group", true, poke("tkhd", 32, "SECR")},
        {"handler's name", true, poke("hdlr", 24, secret)},
        {"compressor's name", true, poke("avc1", 43, secret)},
        {"entry's reserved bytes", true, poke("avc1", 4, "SE")},
        {"sound's rates", true, poke("esds", 19, "SECRETSECRE")},
        {"bit rates", true, poke("btrt", 0, "SECRETSECRET")},
        {"samples' dependencies", true, boxIn(table, Box("sdtp", std::string(14, '\0') + secret))},
        {"sample groups", true,
         boxIn(table, Box("sgpd", std::string("\1\0\0\0roll\0\0\0\2\0\0\0\1", 16) + "SE"))},
        {"table's version", false, poke("stts", 0, "S")},
        {"table's flags", false, poke("stsz", 1, "SEC")},
        {"sync sample past the last", false, poke("stss", 8, "SECR")},
        {"second description", false, poke("stsc", 8 + 8, std::string("\0\0\0\2", 4))},
        {"second data reference", false, poke("avc1", 6, std::string("\0\2", 2))},
        {"edit at another rate", false, poke("elst", 8 + 8, "SE")},
        {"bytes after the sequence set", false, entry("avcC", LongerSet(0, secret))},
        {"bytes after the picture set", false, entry("avcC", LongerSet(1, secret))},
        {"configuration's profile other than the set's", false, poke("avcC", 1, "\x4D")},
        {"lossless profile", false, poke("avcC", 9, "\xF4")},
        {"second pixel shape", false,
         entry("avcC",
               [](const std::string& avcC) {
                   return avcC + Box("pasp", std::string("\0\0\0\1\0\0\0\1", 8)) +
                          Box("pasp", "SECRETSS");
               })},
        {"long-term prediction sound", false, poke("esds", 35, "\x22")},
        {"track's spare flags at the end", true, poke("tkhd", 3, "\x5B")},
        {"next track's number", true, poke("mvhd", 96, "SECR")},
        {"language", true, poke("mdhd", 20, "\xFF\xFF")},
        {"sound's volume", true, poke("tkhd", 36, "\x5E\xC7", 1)},
        {"sound entry's revision and vendor", true, poke("mp4a", 10, secret)},
        {"configuration's reserved bits", true, poke("avcC", 4, "\x03\x01")},
        {"media data's long header", true,
         [](std::string& file) {
             const size_t media = file.find("mdat") - 4;
             const std::string size = Box("", std::string(SizeAt(file, media), '\0')).substr(0, 4);
             file.replace(media, 8, std::string("\0\0\0\1mdat\0\0\0\0", 12) + size);
             MoveChunks(file, 8);
         }},
        {"bytes no sample holds before the samples", false,
         [](std::string& file) {
             const size_t media = file.find("mdat") - 4;
             file.insert(media + 8, "SECRETSS");
             file.replace(media, 4, Box("", std::string(SizeAt(file, media), '\0')).substr(0, 4));
             MoveChunks(file, 8);
         }},
        {"bytes no sample holds between chunks", false,
         [](std::string& file) {
             // In the sound's table: a picture's units would not add up.
             const size_t sound = file.find("stco", file.find("stco", file.find("moov")) + 1);
             const size_t second = sound + 4 + 12;
             file.replace(second, 4, Box("", std::string(SizeAt(file, second), '\0')).substr(0, 4));
         }},
        {"sync sample twice", false,
         edit(with(table, "stss"),
              [](const std::string&) {
                  return Box("stss", std::string("\0\0\0\0\0\0\0\2\0\0\0\1\0\0\0\1", 16));
              })},
        {"table twice", false,
         edit(table,
              [](const std::string& stbl) {
                  const size_t stts = stbl.find("stts") - 4;
                  return stbl + stbl.substr(stts, SizeAt(stbl, stts));
              })},
        {"three edits", false,
         edit(with({"moov", "trak", "edts"}, "elst"),
              [](const std::string&) {
                  std::string three("\0\0\0\0\0\0\0\3", 8);
                  for (int i = 0; i < 3; ++i) three += std::string("\0\0\0\1\0\0\0\0\0\1\0\0", 12);
                  return Box("elst", three);
              })},
        {"edit that skips the start", false, poke("elst", 12, std::string("\0\x10\0\0", 4))},
        {"edit far longer than the media", false, poke("elst", 8, "SEGD")},
        {"run of no samples", false, poke("stts", 8, std::string(4, '\0'))},
        {"sample in no chunk", false,
         edit(table,
              [](std::string stbl) {
                  // One sample more by the time and size tables, its size any four bytes.
                  const auto more = [&stbl](size_t at, size_t by) {
                      const size_t value = SizeAt(stbl, at) + by;
                      for (int i = 0; i < 4; ++i)
                          stbl[at + i] = static_cast<char>(value >> (24 - 8 * i));
                  };
                  more(stbl.find("stts") + 12, 1);
                  const size_t shifts = stbl.find("ctts") - 4;
                  more(shifts + 16 + (SizeAt(stbl, shifts + 12) - 1) * 8, 1);
                  const size_t sizes = stbl.find("stsz") - 4;
                  more(sizes + 16, 1);
                  stbl.insert(sizes + SizeAt(stbl, sizes), "SECR");
                  more(sizes, 4);
                  return Box("stbl", stbl.substr(8));
              })},
        {"sound track's picture size", false, poke("tkhd", 76, "SECR", 1)},
        {"sound entry's channels", false, poke("mp4a", 16, "\x5E\xC7")},
        {"pixels not square", false, poke("pasp", 0, "SECRETSE")},
        {"bytes after the sound configuration", false, poke("esds", 37, "SEC")},
        {"unit of a reserved kind", false,
         [](std::string& file) { file[file.find("mdat") + 8] = '\x0D'; }},
        {"partition of a slice", false,
         [](std::string& file) { file[file.find("mdat") + 8] = '\x02'; }},
        {"sample of messages alone", false,
         [](std::string& file) {
             const size_t media = file.find("mdat") + 4;
             file[media + 4 + SizeAt(file, media) + 4] = '\x06';
         }},
        {"unit longer than its sample", false,
         [](std::string& file) { file[file.find("mdat") + 4] = '\x7F'; }},
    };
    for (const auto& [what, published, change] : edits) {
        std::string file = original;
        change(file);
        WriteBytes("hidden.mp4", file);
        const std::optional<std::string> index = PublishedIndex("hidden.mp4");
        EXPECT_EQ(index.has_value(), published) << what;
        if (index) {
            EXPECT_EQ(*index, *base) << what;
        }
    }
    // Colours by their numbers are kept, but not one bit more.
    MakeReady("colour.mp4",
              {"-color_primaries", "bt709", "-color_trc", "bt709", "-colorspace", "bt709"});
    EXPECT_NE(PublishedIndex("colour.mp4").value_or("").find("nclx"), std::string::npos);
    std::string colour = ReadBytes("colour.mp4");
    Poke(colour, "colr", 10, "\x01");
    WriteBytes("colour.mp4", colour);
    EXPECT_FALSE(PublishedIndex("colour.mp4").has_value());
    // A picture cropped from the left.
    Ffmpeg("cropped.mp4", {"-i", "file:" + fs::absolute("base.mp4").string(), "-c", "copy",
                           "-bsf:v", "h264_metadata=crop_left=16"});
    EXPECT_FALSE(PublishedIndex("cropped.mp4").has_value());
    // Parameter sets in the samples: the index's own are fine, one of a bigger picture is not.
    EXPECT_TRUE(PublishedIndex("headers.mp4").has_value());
    std::string headers = ReadBytes("headers.mp4");
    const size_t avcC = headers.find("avcC");
    const std::string sequence = headers.substr(avcC + 4 + 8, 4);
    headers[headers.find(sequence) + 3] ^= 1;
    WriteBytes("headers.mp4", headers);
    EXPECT_FALSE(PublishedIndex("headers.mp4").has_value());
}

// Pictures in another chroma format, depth or range, a second picture or a track of text are
// made again by ffmpeg, as H.264 in 4:2:0 with only the one picture and the sound.
TEST_F(ClipMakerTest, MakesAgainWhatIsNotQuiteReady) {
    WriteBytes("words.srt", "1\n00:00:00,000 --> 00:00:01,000\nHello\n\n");
    const std::vector<std::pair<std::string, std::vector<std::string>>> clips = {
        {"422.mp4", {"-pix_fmt", "yuv422p"}},
        {"10bit.mp4", {"-pix_fmt", "yuv420p10le"}},
        {"full.mp4", {"-pix_fmt", "yuvj420p"}},
        {"two.mp4", {"-pix_fmt", "yuv420p", "-map", "0:v"}},
        {"words.mp4", {"-pix_fmt", "yuv420p", "-map", "1:s", "-c:s", "mov_text"}}};
    for (const auto& [clip, more] : clips) {
        std::vector<std::string> args = {"-f",   "lavfi",
                                         "-i",   "testsrc=duration=1:rate=10:size=320x240",
                                         "-i",   "file:" + fs::absolute("words.srt").string(),
                                         "-map", "0:v",
                                         "-c:v", "libx264"};
        args.insert(args.end(), more.begin(), more.end());
        Ffmpeg(clip, args);
        EXPECT_EQ(Make({clip, 1920, false}, "web.mp4").width, 320) << clip;
        const std::string probed = Probe("web.mp4");
        EXPECT_EQ(probed.substr(0, probed.find("TAG:")),
                  "codec_name=h264\nwidth=320\nheight=240\npix_fmt=yuv420p\n")
            << clip;
    }
    // Two sounds keep the first.
    Ffmpeg("sounds.mp4",
           {"-f",        "lavfi",     "-i",   "testsrc=duration=1:rate=10:size=320x240",
            "-f",        "lavfi",     "-i",   "sine=duration=1",
            "-map",      "0:v",       "-map", "1:a",
            "-map",      "1:a",       "-c:v", "libx264",
            "-pix_fmt",  "yuv420p",   "-c:a", "aac",
            "-movflags", "+faststart"});
    Make({"sounds.mp4", 1920, false}, "web.mp4");
    const std::string probed = Probe("web.mp4");
    EXPECT_EQ(probed.find("codec_name=aac"), probed.rfind("codec_name=aac"));
}

// What is no clip fails with the reason; a name that begins like an option is only ever a local
// file's; a list saved under a clip's name is no clip.
TEST_F(ClipMakerTest, FailsWithAReasonAndReadsOnlyTheClipNamed) {
    WriteBytes("-y.mp4", std::string(4, '\0') + "ftypisom, just words that are no clip");
    const ClipOutcome made = Make({"-y.mp4", 1920, false}, "out.mp4");
    EXPECT_NE(made.failure, "");
    EXPECT_TRUE(made.failure.starts_with("Invalid data")) << made.failure;
    MakeH264("private.mp4", {"-movflags", "+faststart"});
    WriteBytes("holiday.mp4", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nfile:" +
                                  fs::absolute("private.mp4").string() + "\n#EXT-X-ENDLIST\n");
    WriteBytes("beach.mov",
               "ffconcat version 1.0\nfile '" + fs::absolute("private.mp4").string() + "'\n");
    // Behind the first bytes of a kind that may be read, a stream of a kind that may not.
    Ffmpeg("stream.ts", {"-f", "lavfi", "-i", "testsrc=duration=1:size=160x120", "-c:v", "mpeg4",
                         "-f", "mpegts"});
    WriteBytes("stream.mkv", std::string("\x1a\x45\xdf\xa3", 4) + ReadBytes("stream.ts"));
    for (const char* list : {"holiday.mp4", "beach.mov", "stream.mkv"}) {
        for (const bool poster : {false, true})
            EXPECT_NE(Make({list, 1920, false}, "list.out", poster).failure, "") << list;
        EXPECT_EQ(ReadBytes("list.out"), "") << list;
    }
}

// Under a decimal-comma locale, as the window runs, a short clip still gets its poster.
TEST_F(ClipMakerTest, MakesPostersUnderADecimalCommaLocale) {
    MakeH264("short.mp4", {});
    const std::string before = ::setlocale(LC_ALL, nullptr);
    ASSERT_NE(::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "make the de_DE.UTF-8 locale";
    const ClipOutcome poster = Make({"short.mp4", 1920, false}, "poster.jpg", true);
    ::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(poster.failure, "");
    EXPECT_EQ(poster.width, 320);
}

// Cancel ends ffmpeg at once, however long the clip.
TEST_F(ClipMakerTest, StopsWhenCancelled) {
    Ffmpeg("long.mp4", {"-f", "lavfi", "-i", "testsrc=duration=60:rate=30:size=640x360", "-c:v",
                        "mpeg4", "-q:v", "31"});
    int asked = 0;
    const ClipOutcome made =
        Make({"long.mp4", 1920, false}, "web.mp4", false, [&asked](double) { return ++asked < 3; });
    EXPECT_EQ(made.failure, "stopped");
}

}  // namespace
}  // namespace vistello::testing
