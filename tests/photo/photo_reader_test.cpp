#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <functional>
#include <string>
#include <vips/vips8>

#include "images/heif_metadata.h"
#include "images/heif_module.h"
#include "photo/exiv2_photo_reader.h"
#include "support/temp_dir.h"

namespace vistello {

inline void PrintTo(const PhotoDetails& details, std::ostream* out) {
    *out << '{' << details.title << " | " << details.description << " | " << details.keywords
         << " | " << details.alt << " | " << details.takenAt.value_or(-1) << " | "
         << details.shooting.dateTaken << " | " << details.shooting.camera << " | "
         << details.shooting.lens << " | " << details.shooting.exposure << '}';
}

namespace testing {
namespace {

namespace fs = std::filesystem;

LibheifReader g_heif;

void AddValue(Exiv2::XmpData& xmp, const char* key, Exiv2::TypeId type,
              std::initializer_list<const char*> texts) {
    const Exiv2::Value::AutoPtr value = Exiv2::Value::create(type);
    for (const char* text : texts) value->read(text);
    xmp.add(Exiv2::XmpKey(key), value.get());
}

void AddIptc(Exiv2::IptcData& iptc, const char* key, const std::string& text) {
    Exiv2::StringValue value(text);
    iptc.add(Exiv2::IptcKey(key), &value);
}

void AddBytes(Exiv2::ExifData& exif, const char* key, const std::string& bytes) {
    Exiv2::DataValue value(Exiv2::unsignedByte);
    value.read(reinterpret_cast<const Exiv2::byte*>(bytes.data()), static_cast<long>(bytes.size()),
               Exiv2::littleEndian);
    exif.add(Exiv2::ExifKey(key), &value);
}

// UTF-16 little-endian, as the XP fields hold it.
std::string Utf16(const std::u16string& text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes + std::string(2, '\0');
}

using Writer = std::function<void(Exiv2::Image&)>;

// Each field from each of its places, alone and against the places it outranks, in each encoding
// a place may use; placeholders and line ends as cameras and editors leave them.
TEST(PhotoReaderTest, EachFieldComesFromTheFirstPlaceThatHoldsIt) {
    const struct {
        const char* what;
        Writer write;
        PhotoDetails expected;
    } cases[] = {
        {"nothing", [](Exiv2::Image&) {}, {}},
        {"XMP title, default language first",
         [](Exiv2::Image& image) {
             AddValue(image.xmpData(), "Xmp.dc.title", Exiv2::langAlt,
                      {"lang=de Abendrot", "lang=x-default Sunset"});
             AddIptc(image.iptcData(), "Iptc.Application2.ObjectName", "IPTC title");
         },
         {"Sunset", "", "", ""}},
        {"XMP title in one other language",
         [](Exiv2::Image& image) {
             AddValue(image.xmpData(), "Xmp.dc.title", Exiv2::langAlt, {"lang=de Abendrot"});
         },
         {"Abendrot", "", "", ""}},
        {"IPTC in Latin-1 over EXIF",
         [](Exiv2::Image& image) {
             AddIptc(image.iptcData(), "Iptc.Application2.ObjectName", "Caf\xe9");
             AddIptc(image.iptcData(), "Iptc.Application2.Caption", "Line one\nline two ");
             AddBytes(image.exifData(), "Exif.Image.XPTitle", Utf16(u"EXIF title"));
         },
         {"Caf\xc3\xa9", "Line one line two", "", ""}},
        {"IPTC that says it is UTF-8",
         [](Exiv2::Image& image) {
             AddIptc(image.iptcData(), "Iptc.Envelope.CharacterSet", "\x1b%G");
             AddIptc(image.iptcData(), "Iptc.Application2.ObjectName", "Caf\xc3\xa9");
             AddIptc(image.iptcData(), "Iptc.Application2.Keywords", "sea");
             AddIptc(image.iptcData(), "Iptc.Application2.Keywords", "sun");
             AddIptc(image.iptcData(), "Iptc.Application2.Keywords", "sea");
         },
         {"Caf\xc3\xa9", "", "sea, sun", ""}},
        {"EXIF only: XP fields in UTF-16, a camera's placeholder in any case passed over",
         [](Exiv2::Image& image) {
             AddBytes(image.exifData(), "Exif.Image.XPTitle", Utf16(u"\u00dcber den D\u00e4chern"));
             image.exifData()["Exif.Image.ImageDescription"] = "Olympus Digital Camera";
             AddBytes(image.exifData(), "Exif.Image.XPComment", Utf16(u"Roofs"));
             AddBytes(image.exifData(), "Exif.Image.XPKeywords", Utf16(u"roof;city"));
         },
         {"\xc3\x9c"
          "ber den D\xc3\xa4"
          "chern",
          "Roofs", "roof, city", ""}},
        {"EXIF description in UTF-8 over the XP comment",
         [](Exiv2::Image& image) {
             image.exifData()["Exif.Image.ImageDescription"] = "Caf\xc3\xa9";
             AddBytes(image.exifData(), "Exif.Image.XPComment", Utf16(u"Roofs"));
         },
         {"", "Caf\xc3\xa9", "", ""}},
        {"EXIF date taken with its offset and fraction over XMP's",
         [](Exiv2::Image& image) {
             image.exifData()["Exif.Photo.DateTimeOriginal"] = "2026:05:14 18:32:10";
             image.exifData()["Exif.Photo.SubSecTimeOriginal"] = "25";
             Exiv2::AsciiValue offset("+02:00");
             image.exifData().add(Exiv2::ExifKey(0x9011, "Photo"), &offset);
             AddValue(image.xmpData(), "Xmp.xmp.CreateDate", Exiv2::xmpText, {"2020-01-01"});
         },
         {"", "", "", "", 1778776330250, {"2026-05-14 18:32", "", "", ""}}},
        {"XMP date taken over IPTC's",
         [](Exiv2::Image& image) {
             AddValue(image.xmpData(), "Xmp.photoshop.DateCreated", Exiv2::xmpText,
                      {"2026-05-14T18:32:10+02:00"});
             AddIptc(image.iptcData(), "Iptc.Application2.DateCreated", "2020-01-01");
         },
         {"", "", "", "", 1778776330000, {"2026-05-14 18:32", "", "", ""}}},
        {"IPTC date and time taken",
         [](Exiv2::Image& image) {
             AddIptc(image.iptcData(), "Iptc.Application2.DateCreated", "2026-05-14");
             AddIptc(image.iptcData(), "Iptc.Application2.TimeCreated", "18:32:10+02:00");
         },
         {"", "", "", "", 1778776330000, {"2026-05-14 18:32", "", "", ""}}},
        {"EXIF shooting data, in the byte order many cameras write",
         [](Exiv2::Image& image) {
             image.setByteOrder(Exiv2::bigEndian);
             image.exifData()["Exif.Image.Make"] = "NIKON CORPORATION";
             image.exifData()["Exif.Image.Model"] = "NIKON Z 6_2";
             image.exifData()["Exif.Photo.LensModel"] = "NIKKOR Z 24-70mm f/4 S";
             image.exifData()["Exif.Photo.ExposureTime"] = Exiv2::URational(10, 2500);
             image.exifData()["Exif.Photo.FNumber"] = Exiv2::URational(28, 10);
             image.exifData()["Exif.Photo.ISOSpeedRatings"] = uint16_t(400);
             image.exifData()["Exif.Photo.FocalLength"] = Exiv2::URational(3500, 100);
         },
         {"",
          "",
          "",
          "",
          std::nullopt,
          {"", "NIKON Z 6_2", "NIKKOR Z 24-70mm f/4 S",
           "1/250 s \u00b7 f/2.8 \u00b7 ISO 400 \u00b7 35 mm"}}},
        {"XMP keywords and alt text over IPTC",
         [](Exiv2::Image& image) {
             AddValue(image.xmpData(), "Xmp.dc.subject", Exiv2::xmpBag, {"harbour", "boats"});
             AddValue(image.xmpData(), "Xmp.dc.description", Exiv2::langAlt,
                      {"lang=x-default Boats at dawn"});
             AddValue(image.xmpData(), "Xmp.iptc.AltTextAccessibility", Exiv2::langAlt,
                      {"lang=x-default Three fishing boats in a calm harbour"});
             AddIptc(image.iptcData(), "Iptc.Application2.Keywords", "iptc");
         },
         {"", "Boats at dawn", "harbour, boats", "Three fishing boats in a calm harbour"}},
    };
    ScratchDir scratch;
    RealFileOps ops;
    Exiv2PhotoReader reader(ops, g_heif);
    for (const char* blank : {"blank.jpg", "blank.png", "blank.tif"}) {
        for (const auto& c : cases) {
            const std::string path = scratch / blank;
            fs::copy_file(fs::path(VISTELLO_TEST_DATA) / blank, path,
                          fs::copy_options::overwrite_existing);
            auto image = Exiv2::ImageFactory::open(path);
            c.write(*image);
            image->writeMetadata();
            EXPECT_EQ(reader.Read(path), c.expected) << blank << ": " << c.what;
            const PhotoDetails whenAndHow{"", "", "", "", c.expected.takenAt, c.expected.shooting};
            EXPECT_EQ(reader.ReadWhenAndHow(path), whenAndHow) << blank << ": " << c.what;
        }
    }
}

// What is no image cannot be read, nor is a FIFO waited on; a photo cut short gives what is left
// of it, here nothing. Nothing is thrown either way.
TEST(PhotoReaderTest, AFileThatIsNoImageCannotBeRead) {
    ScratchDir scratch;
    WriteBytes("text.jpg", "not a photo");
    ASSERT_EQ(::mkfifo("fifo.jpg", 0600), 0);
    ASSERT_EQ(::mkfifo("fifo.tif", 0600), 0);
    const std::string jpeg = ReadBytes(std::string(VISTELLO_TEST_DATA) + "/blank.jpg");
    WriteBytes("cut.jpg", jpeg.substr(0, 20));
    RealFileOps ops;
    Exiv2PhotoReader reader(ops, g_heif);
    for (const char* path : {"text.jpg", "missing.jpg", ".", "fifo.jpg", "fifo.tif"})
        EXPECT_EQ(reader.Read(path), std::nullopt) << path;
    EXPECT_EQ(reader.Read("cut.jpg").value_or(PhotoDetails{"damage", "", "", ""}), PhotoDetails{});
}

std::string Segment(char marker, const std::string& payload) {
    const size_t length = payload.size() + 2;
    return std::string{'\xFF', marker, static_cast<char>(length >> 8),
                       static_cast<char>(length & 0xFF)} +
           payload;
}

// A JPEG's details may lie well past the first read, behind colour profiles, previews and a fill
// byte, and IPTC in the first of several Photoshop segments; the file may also end inside a
// segment that comes later.
TEST(PhotoReaderTest, FindsDetailsWhereverTheyLieBeforeTheImage) {
    const std::string profile = Segment('\xE2', std::string(65000, 'p'));
    const std::string xmp = Segment(
        '\xE1', std::string("http://ns.adobe.com/xap/1.0/\0", 29) +
                    "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
                    "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
                    "xmlns:dc='http://purl.org/dc/elements/1.1/' dc:title='Far'/></rdf:RDF>"
                    "</x:xmpmeta>");
    const std::string photoshop("Photoshop 3.0\0008BIM", 18);
    const std::string iptc = Segment('\xED', photoshop + std::string("\x04\x04\0\0\0\0\0\x0A", 8) +
                                                 std::string("\x1C\x02\x78\0\x05"
                                                             "Calm\0",
                                                             10));
    const std::string other =
        Segment('\xED', photoshop + std::string("\x04\x0C\0\0\0\0\0\x02xy", 10));
    const std::string front = "\xFF\xD8" + profile + profile + iptc + other + "\xFF\xFF" + xmp;
    ScratchDir scratch;
    WriteBytes("whole.jpg", front + Segment('\xDA', "scan") + std::string(100, 'i') + "\xFF\xD9");
    WriteBytes("cut.jpg", front + Segment('\xE2', std::string(100, 'p')).substr(0, 50));
    RealFileOps ops;
    Exiv2PhotoReader reader(ops, g_heif);
    for (const char* path : {"whole.jpg", "cut.jpg"})
        EXPECT_EQ(reader.Read(path), (PhotoDetails{"Far", "Calm", "", ""})) << path;
}

// Phones' formats carry their details as JPEGs do, HEIF's read through the image module. The packet
// is padded, as editors pad it, past what one read of the file's front takes.
TEST(PhotoReaderTest, ReadsTheDetailsOfHeicAvifAndWebpPhotos) {
    ScratchDir scratch;
    VIPS_INIT("vistello-test");
    static const std::string xmp =
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
        "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
        "xmlns:dc='http://purl.org/dc/elements/1.1/' dc:title='Phone'/></rdf:RDF>" +
        std::string(40000, ' ') + "</x:xmpmeta>";
    vips::VImage image = vips::VImage::black(64, 48, vips::VImage::option()->set("bands", 3))
                             .cast(VIPS_FORMAT_UCHAR)
                             .copy();
    image.set(VIPS_META_XMP_NAME, nullptr, const_cast<char*>(xmp.data()), xmp.size());
    image.heifsave("a.heic");
    image.heifsave("a.avif",
                   vips::VImage::option()->set("compression", VIPS_FOREIGN_HEIF_COMPRESSION_AV1));
    image.webpsave("a.webp");
    RealFileOps ops;
    HeifModule module({VISTELLO_IMAGE_MODULE});
    Exiv2PhotoReader reader(ops, module);
    for (const char* path : {"a.heic", "a.avif", "a.webp"})
        EXPECT_EQ(reader.Read(path), (PhotoDetails{"Phone", "", "", ""})) << path;
}

// A file cut short by another program just after the reader opened it the second time (the
// first is to see whether it is a JPEG), as a sync tool rewriting it.
class CuttingFileOps : public RealFileOps {
public:
    int Fstat(int fd, struct stat& info) override {
        const int result = RealFileOps::Fstat(fd, info);
        if (++m_opened == 2) {
            EXPECT_EQ(::truncate(("/proc/self/fd/" + std::to_string(fd)).c_str(), 16), 0);
        }
        return result;
    }

private:
    int m_opened = 0;
};

// A photo that shrinks while it is read is only a photo that says nothing.
TEST(PhotoReaderTest, APhotoCutWhileItIsReadIsNoFault) {
    ScratchDir scratch;
    VIPS_INIT("vistello-test");
    vips::VImage::black(1200, 1200)
        .pngsave("big.png", vips::VImage::option()->set("compression", 0));
    ASSERT_GT(fs::file_size("big.png"), 1u << 20);
    CuttingFileOps ops;
    EXPECT_EQ(Exiv2PhotoReader(ops, g_heif).Read("big.png"), std::nullopt);
}

}  // namespace
}  // namespace testing
}  // namespace vistello
