#include "media/shooting_data.h"

#include <gtest/gtest.h>

namespace vistello::testing {
namespace {

std::string Exposure(std::optional<Ratio> time, std::optional<Ratio> f,
                     std::optional<long long> iso, std::optional<Ratio> mm) {
    return DescribeShooting({{}, {}, {}, time, f, mm, iso}, "").exposure;
}

std::string Camera(std::string make, std::string model) {
    return DescribeShooting({{std::move(make), StoredEncoding::Ascii},
                             {std::move(model), StoredEncoding::Ascii},
                             {},
                             {},
                             {},
                             {},
                             {}},
                            "")
        .camera;
}

// The values real cameras write, odd ones included: what is 0, negative or has no denominator
// is left out rather than shown as nonsense.
TEST(ShootingDataTest, ExposureReadsAsPhotographersWriteIt) {
    const auto r = [](long long n, long long d) { return Ratio{n, d}; };
    EXPECT_EQ(Exposure(r(1, 250), r(8, 1), 100, r(35, 1)),
              "1/250 s \u00b7 f/8 \u00b7 ISO 100 \u00b7 35 mm");
    EXPECT_EQ(Exposure(r(10, 2500), r(28, 10), {}, r(425, 100)),
              "1/250 s \u00b7 f/2.8 \u00b7 4.3 mm");
    EXPECT_EQ(Exposure(r(3, 1000), {}, {}, {}), "1/333 s");
    EXPECT_EQ(Exposure(r(6, 10), {}, {}, {}), "0.6 s");
    EXPECT_EQ(Exposure(r(1, 4), {}, {}, {}), "1/4 s");
    EXPECT_EQ(Exposure(r(2, 1), {}, {}, {}), "2 s");
    EXPECT_EQ(Exposure(r(25, 10), {}, {}, {}), "2.5 s");
    EXPECT_EQ(Exposure(r(0, 1), r(0, 1), 0, r(0, 0)), "");
    EXPECT_EQ(Exposure(r(1, 0), r(18, 0), -5, r(-35, 1)), "");
    EXPECT_EQ(Exposure({}, r(4294967295, 1), 65535, {}), "f/4294967295 \u00b7 ISO 65535");
}

// Make and model as one name, the make not repeated; names as stored, made one line of UTF-8,
// cut when absurdly long.
TEST(ShootingDataTest, CameraIsOneNameOfOneLine) {
    EXPECT_EQ(Camera("Canon", "Canon EOS R6"), "Canon EOS R6");
    EXPECT_EQ(Camera("NIKON CORPORATION", "NIKON Z 6_2"), "NIKON Z 6_2");
    EXPECT_EQ(Camera("Apple", "iPhone 15 Pro"), "Apple iPhone 15 Pro");
    EXPECT_EQ(Camera("Sony", "Sonya 1"), "Sony Sonya 1");
    EXPECT_EQ(Camera("", "X100V"), "X100V");
    EXPECT_EQ(Camera("FUJIFILM\0\0", ""), "FUJIFILM");
    EXPECT_EQ(Camera("Ma\xefve", "A\x01\tB\n"), "Ma\u00efve A  B");
    const std::string camera = Camera("", "\xc3\xa9" + std::string(200, 'x'));
    EXPECT_EQ(camera.size(), 100u);
    EXPECT_EQ(camera.substr(0, 3), "\xc3\xa9x");
    EXPECT_EQ(Camera("", std::string(20000, 'x')), "");
}

}  // namespace
}  // namespace vistello::testing
