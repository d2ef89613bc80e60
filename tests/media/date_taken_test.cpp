#include "media/date_taken.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vistello::testing {
namespace {

TakenAt Utc(int y, unsigned mo, unsigned d, int h, int mi, int s, int ms = 0) {
    using namespace std::chrono;
    const sys_days date{year{y} / month{mo} / day{d}};
    return (date + hours{h} + minutes{mi} + seconds{s} + milliseconds{ms}).time_since_epoch() /
           milliseconds{1};
}

// The forms cameras and editors write, with and without offsets and fractions; what is blank,
// impossible or malformed says nothing.
TEST(DateTakenTest, ReadsTheFormsCamerasAndEditorsWrite) {
    EXPECT_EQ(ExifTakenAt("2026:05:14 18:32:10", "", ""), Utc(2026, 5, 14, 18, 32, 10));
    EXPECT_EQ(ExifTakenAt(std::string_view("2026:05:14 18:32:10\0", 20),
                          std::string_view("+02:00\0", 7), "25 "),
              Utc(2026, 5, 14, 16, 32, 10, 250));
    EXPECT_EQ(ExifTakenAt("2026:05:14 18:32:10", "-05:30", "x"), Utc(2026, 5, 15, 0, 2, 10));
    EXPECT_EQ(IsoTakenAt("2026-05-14"), Utc(2026, 5, 14, 0, 0, 0));
    EXPECT_EQ(IsoTakenAt("2026-05-14T18:32"), Utc(2026, 5, 14, 18, 32, 0));
    EXPECT_EQ(IsoTakenAt("2026-05-14T18:32:10.0625Z"), Utc(2026, 5, 14, 18, 32, 10, 62));
    EXPECT_EQ(IsoTakenAt("2026-05-14T18:32:10+0200"), Utc(2026, 5, 14, 16, 32, 10));
    for (const char* blank : {"    :  :     :  :  ", "0000:00:00 00:00:00", "2026:02:30 10:00:00",
                              "2026:05:14 24:00:00", "2026-05-14 18:32:10"})
        EXPECT_EQ(ExifTakenAt(blank, "", ""), std::nullopt) << blank;
    for (const char* malformed : {"", "2026-5-14", "2026-05-14T25:00", "2026-05-14T18:32+2",
                                  "2026-05-14T18:32:10 later", "2026:05:14"})
        EXPECT_EQ(IsoTakenAt(malformed), std::nullopt) << malformed;
    // Pages show the photo's own clock, whatever its offset.
    EXPECT_EQ(LocalTakenText("2026:05:14 18:32:10"), "2026-05-14 18:32");
    EXPECT_EQ(LocalTakenText("2026-05-14T18:32:10-05:00"), "2026-05-14 18:32");
    EXPECT_EQ(LocalTakenText("2026-05-14"), "2026-05-14");
}

}  // namespace
}  // namespace vistello::testing
