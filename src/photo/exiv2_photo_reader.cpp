#include "photo/exiv2_photo_reader.h"

#include <array>
#include <exiv2/exiv2.hpp>
#include <mutex>
#include <vector>

#include "photo/heif_metadata.h"
#include "photo/jpeg_metadata.h"
#include "photo/mapped_file.h"
#include "photo/xmp_packet.h"

namespace vistello {

namespace {

// The IPTC record's own way of saying its text is UTF-8 (ESC % G).
constexpr std::string_view kIptcUtf8 = "\x1b%G";

bool IptcIsUtf8(const Exiv2::IptcData& iptc) {
    for (const Exiv2::Iptcdatum& datum : iptc) {
        if (datum.record() == Exiv2::IptcDataSets::envelope &&
            datum.tag() == Exiv2::IptcDataSets::CharacterSet) {
            return datum.toString() == kIptcUtf8;
        }
    }
    return false;
}

std::vector<StoredText> IptcValues(const Exiv2::IptcData& iptc, uint16_t tag,
                                   StoredEncoding encoding) {
    std::vector<StoredText> values;
    for (const Exiv2::Iptcdatum& datum : iptc) {
        if (datum.record() != Exiv2::IptcDataSets::application2 || datum.tag() != tag) continue;
        values.push_back({datum.toString(), encoding});
    }
    return values;
}

enum ExifPlace {
    kXpTitle,
    kImageDescription,
    kXpComment,
    kXpKeywords,
    kDateTimeOriginal,
    kOffsetTimeOriginal,
    kSubSecTimeOriginal,
    kMake,
    kModel,
    kLensModel,
    kExposureTime,
    kFNumber,
    kIso,
    kFocalLength,
    kExifPlaces
};

// Named once: a key made from its name is looked up in the library's tables, and a datum is
// told by its tag and directory far quicker than by its name.
const std::array<Exiv2::ExifKey, kExifPlaces>& ExifKeys() {
    static const std::array<Exiv2::ExifKey, kExifPlaces> keys = {
        Exiv2::ExifKey("Exif.Image.XPTitle"),   Exiv2::ExifKey("Exif.Image.ImageDescription"),
        Exiv2::ExifKey("Exif.Image.XPComment"), Exiv2::ExifKey("Exif.Image.XPKeywords"),
        Exiv2::ExifKey(0x9003, "Photo"),        Exiv2::ExifKey(0x9011, "Photo"),
        Exiv2::ExifKey(0x9291, "Photo"),        Exiv2::ExifKey(0x010f, "Image"),
        Exiv2::ExifKey(0x0110, "Image"),        Exiv2::ExifKey(0xa434, "Photo"),
        Exiv2::ExifKey(0x829a, "Photo"),        Exiv2::ExifKey(0x829d, "Photo"),
        Exiv2::ExifKey(0x8827, "Photo"),        Exiv2::ExifKey(0x920a, "Photo")};
    return keys;
}

// The first datum of each place, or null where the photo has none.
using ExifDatums = std::array<const Exiv2::Exifdatum*, kExifPlaces>;

ExifDatums FirstDatums(const Exiv2::ExifData& exif) {
    const auto& keys = ExifKeys();
    ExifDatums datums{};
    for (const Exiv2::Exifdatum& datum : exif) {
        for (size_t place = 0; place < keys.size(); ++place) {
            if (datum.tag() == keys[place].tag() && datum.ifdId() == keys[place].ifdId() &&
                datums[place] == nullptr)
                datums[place] = &datum;
        }
    }
    return datums;
}

// The bytes of each place, little-endian; empty where the photo has none.
std::array<std::string, kExifPlaces> ExifBytes(const ExifDatums& datums) {
    std::array<std::string, kExifPlaces> bytes;
    for (size_t place = 0; place < datums.size(); ++place) {
        if (datums[place] == nullptr) continue;
        bytes[place].resize(static_cast<size_t>(datums[place]->size()));
        datums[place]->copy(reinterpret_cast<Exiv2::byte*>(bytes[place].data()),
                            Exiv2::littleEndian);
    }
    return bytes;
}

long long LittleEndian32(std::string_view bytes, bool isSigned) {
    uint32_t value = 0;
    for (size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return isSigned ? static_cast<long long>(static_cast<int32_t>(value)) : value;
}

// The first value of a rational datum, read as its type says, so that an unsigned one past
// 2^31 stays what it is.
std::optional<Ratio> RatioOf(const Exiv2::Exifdatum* datum, std::string_view bytes) {
    if (datum == nullptr || bytes.size() < 8) return std::nullopt;
    const Exiv2::TypeId type = datum->typeId();
    if (type != Exiv2::unsignedRational && type != Exiv2::signedRational) return std::nullopt;
    const bool isSigned = type == Exiv2::signedRational;
    return Ratio{LittleEndian32(bytes, isSigned), LittleEndian32(bytes.substr(4), isSigned)};
}

std::optional<long long> WholeOf(const Exiv2::Exifdatum* datum) {
    if (datum == nullptr || datum->count() < 1) return std::nullopt;
    const Exiv2::TypeId type = datum->typeId();
    if (type != Exiv2::unsignedShort && type != Exiv2::unsignedLong) return std::nullopt;
    return datum->toLong(0);
}

std::vector<StoredText> ExifValue(std::string bytes, StoredEncoding encoding) {
    if (bytes.empty()) return {};
    return {{std::move(bytes), encoding}};
}

// Keywords of the XP kind are one text, separated by semicolons.
std::vector<StoredText> SplitXpKeywords(std::vector<StoredText> stored) {
    if (stored.empty()) return stored;
    const StoredText all = stored.front();
    stored.clear();
    std::string word;
    for (size_t at = 0; at + 1 < all.bytes.size(); at += 2) {
        if (all.bytes[at] == ';' && all.bytes[at + 1] == '\0') {
            stored.push_back({word, StoredEncoding::Utf16Le});
            word.clear();
        } else {
            word.append(all.bytes, at, 2);
        }
    }
    stored.push_back({word, StoredEncoding::Utf16Le});
    return stored;
}

std::string FirstOf(const std::vector<StoredText>& values) {
    return values.empty() ? std::string() : values.front().bytes;
}

struct Taken {
    std::optional<TakenAt> at;
    std::string local;
};

// The first place that says when the photo was taken: EXIF, then XMP, then IPTC.
Taken TakenIn(const XmpDetails& xmp, const Exiv2::IptcData& iptc,
              const std::array<std::string, kExifPlaces>& exif) {
    const std::string& exifTime = exif[kDateTimeOriginal];
    if (const std::optional<TakenAt> at =
            ExifTakenAt(exifTime, exif[kOffsetTimeOriginal], exif[kSubSecTimeOriginal]))
        return {at, LocalTakenText(exifTime)};
    for (const std::vector<StoredText>* values :
         {&xmp.dateTimeOriginal, &xmp.dateCreated, &xmp.createDate}) {
        const std::string text = FirstOf(*values);
        if (const std::optional<TakenAt> at = IsoTakenAt(text)) return {at, LocalTakenText(text)};
    }
    using Sets = Exiv2::IptcDataSets;
    const std::string date = FirstOf(IptcValues(iptc, Sets::DateCreated, StoredEncoding::Ascii));
    const std::string time = FirstOf(IptcValues(iptc, Sets::TimeCreated, StoredEncoding::Ascii));
    const std::string text = time.empty() ? date : date + "T" + time;
    const std::optional<TakenAt> at = IsoTakenAt(text);
    return {at, at ? LocalTakenText(text) : std::string()};
}

StoredShooting ShootingIn(const ExifDatums& datums, std::array<std::string, kExifPlaces>& bytes) {
    return {{std::move(bytes[kMake]), StoredEncoding::Ascii},
            {std::move(bytes[kModel]), StoredEncoding::Ascii},
            {std::move(bytes[kLensModel]), StoredEncoding::Ascii},
            RatioOf(datums[kExposureTime], bytes[kExposureTime]),
            RatioOf(datums[kFNumber], bytes[kFNumber]),
            RatioOf(datums[kFocalLength], bytes[kFocalLength]),
            WholeOf(datums[kIso])};
}

StoredDetails StoredIn(XmpDetails xmp, const Exiv2::IptcData& iptc,
                       std::array<std::string, kExifPlaces>& bytes) {
    using Sets = Exiv2::IptcDataSets;
    const StoredEncoding text = IptcIsUtf8(iptc) ? StoredEncoding::Utf8 : StoredEncoding::Latin1;
    StoredDetails stored;
    stored.title = {std::move(xmp.title), IptcValues(iptc, Sets::ObjectName, text),
                    ExifValue(std::move(bytes[kXpTitle]), StoredEncoding::Utf16Le)};
    stored.description = {std::move(xmp.description), IptcValues(iptc, Sets::Caption, text),
                          ExifValue(std::move(bytes[kImageDescription]), StoredEncoding::Ascii),
                          ExifValue(std::move(bytes[kXpComment]), StoredEncoding::Utf16Le)};
    stored.keywords = {
        std::move(xmp.subject), IptcValues(iptc, Sets::Keywords, text),
        SplitXpKeywords(ExifValue(std::move(bytes[kXpKeywords]), StoredEncoding::Utf16Le))};
    stored.alt = {std::move(xmp.alt)};
    return stored;
}

// The page fields, when the photo was taken and how.
PhotoDetails DetailsIn(XmpDetails xmp, const Exiv2::IptcData& iptc, const Exiv2::ExifData& exif) {
    const ExifDatums datums = FirstDatums(exif);
    std::array<std::string, kExifPlaces> bytes = ExifBytes(datums);
    Taken taken = TakenIn(xmp, iptc, bytes);
    PhotoDetails details = ChooseDetails(StoredIn(std::move(xmp), iptc, bytes));
    details.takenAt = taken.at;
    details.shooting = DescribeShooting(ShootingIn(datums, bytes), std::move(taken.local));
    return details;
}

// The IPTC record of every Photoshop resource block that holds one, joined.
Exiv2::IptcData IptcIn(const std::string& photoshop) {
    const auto* at = reinterpret_cast<const Exiv2::byte*>(photoshop.data());
    const auto* const end = at + photoshop.size();
    std::string records;
    const Exiv2::byte* record = nullptr;
    uint32_t header = 0;
    uint32_t size = 0;
    while (at < end &&
           Exiv2::Photoshop::locateIptcIrb(at, end - at, &record, &header, &size) == 0) {
        records.append(reinterpret_cast<const char*>(record + header), size);
        at = record + header + size + (size & 1);
    }
    Exiv2::IptcData iptc;
    if (!records.empty() &&
        Exiv2::IptcParser::decode(iptc, reinterpret_cast<const Exiv2::byte*>(records.data()),
                                  static_cast<uint32_t>(records.size())) != 0) {
        iptc.clear();
    }
    return iptc;
}

// Damaged EXIF costs only what it holds; the other places may still describe the photo.
Exiv2::ExifData ExifIn(const std::string& tiff) {
    Exiv2::ExifData exif;
    if (tiff.empty()) return exif;
    try {
        Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(tiff.data()),
                                  static_cast<uint32_t>(tiff.size()));
    } catch (const Exiv2::AnyError&) {
        exif.clear();
    }
    return exif;
}

// The segments are found without the library, which would also read the XMP packet its own,
// much slower way.
PhotoDetails ReadJpeg(const JpegMetadata& jpeg) {
    return DetailsIn(ReadXmpPacket(jpeg.xmp), IptcIn(jpeg.photoshop), ExifIn(jpeg.exif));
}

}  // namespace

// The library keeps its XMP parser for the whole process and reports on stderr unless muted.
// Photos are read on several threads at once, and the parser is safe for that only with a lock.
Exiv2PhotoReader::Exiv2PhotoReader(FileOps& ops) : m_ops(ops) {
    static std::once_flag once;
    std::call_once(once, [] {
        static std::mutex xmp;
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(
            [](void* lock, bool locking) {
                auto* mutex = static_cast<std::mutex*>(lock);
                if (locking) {
                    mutex->lock();
                } else {
                    mutex->unlock();
                }
            },
            &xmp);
    });
}

std::optional<PhotoDetails> Exiv2PhotoReader::Read(const std::string& path) {
    try {
        if (const std::optional<JpegMetadata> jpeg = ReadJpegMetadata(m_ops, path))
            return ReadJpeg(*jpeg);
        const MappedFile file(m_ops, path);
        if (!file.IsOpen()) return std::nullopt;
        if (LooksLikeIsoMedia(file.Data(), file.Size())) {
            const std::optional<HeifMetadata> heif = ReadHeifMetadata(file.Data(), file.Size());
            if (!heif) return std::nullopt;
            return DetailsIn(ReadXmpPacket(heif->xmp), Exiv2::IptcData(), ExifIn(heif->exif));
        }
        auto image = Exiv2::ImageFactory::open(file.Data(), static_cast<long>(file.Size()));
        if (image.get() == nullptr) return std::nullopt;
        image->readMetadata();
        return DetailsIn(ReadXmpPacket(image->xmpPacket()), image->iptcData(), image->exifData());
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace vistello
