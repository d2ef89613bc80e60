#include "photo/exiv2_photo_reader.h"

#include <array>
#include <exiv2/exiv2.hpp>
#include <functional>
#include <mutex>
#include <vector>

#include "files/block_reader.h"
#include "photo/exif_block.h"
#include "photo/file_bytes.h"
#include "photo/iso_media.h"
#include "photo/jpeg_metadata.h"
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

// Where each place lies: in the first directory or the EXIF one.
constexpr std::array<ExifTag, kExifPlaces> kExifTags = {{{0x9c9b, false},
                                                         {0x010e, false},
                                                         {0x9c9c, false},
                                                         {0x9c9e, false},
                                                         {0x9003, true},
                                                         {0x9011, true},
                                                         {0x9291, true},
                                                         {0x010f, false},
                                                         {0x0110, false},
                                                         {0xa434, true},
                                                         {0x829a, true},
                                                         {0x829d, true},
                                                         {0x8827, true},
                                                         {0x920a, true}}};

// Named once: a key is looked up in the library's tables, and a datum is told by its tag and
// directory far quicker than by its name.
const std::array<Exiv2::ExifKey, kExifPlaces>& ExifKeys() {
    static const std::array<Exiv2::ExifKey, kExifPlaces> keys = [] {
        std::vector<Exiv2::ExifKey> made;
        for (const ExifTag& tag : kExifTags)
            made.emplace_back(tag.tag, tag.inExifDirectory ? "Photo" : "Image");
        return std::array<Exiv2::ExifKey, kExifPlaces>{
            made[0], made[1], made[2], made[3],  made[4],  made[5],  made[6],
            made[7], made[8], made[9], made[10], made[11], made[12], made[13]};
    }();
    return keys;
}

// The first value of each place, where the library decoded the EXIF record: of the containers
// only it reads.
std::vector<ExifValue> ExifValuesOf(const Exiv2::ExifData& exif) {
    const auto& keys = ExifKeys();
    std::vector<ExifValue> values(kExifPlaces);
    std::array<bool, kExifPlaces> found{};
    for (const Exiv2::Exifdatum& datum : exif) {
        for (size_t place = 0; place < keys.size(); ++place) {
            if (found[place] || datum.tag() != keys[place].tag() ||
                datum.ifdId() != keys[place].ifdId())
                continue;
            found[place] = true;
            ExifValue& value = values[place];
            value.type = static_cast<uint16_t>(datum.typeId());
            value.count = static_cast<uint32_t>(datum.count());
            value.bytes.resize(static_cast<size_t>(datum.size()));
            datum.copy(reinterpret_cast<Exiv2::byte*>(value.bytes.data()), Exiv2::littleEndian);
        }
    }
    return values;
}

long long LittleEndian32(std::string_view bytes, bool isSigned) {
    uint32_t value = 0;
    for (size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return isSigned ? static_cast<long long>(static_cast<int32_t>(value)) : value;
}

// The first item of a rational value, read as its type says, so that an unsigned one past 2^31
// stays what it is.
std::optional<Ratio> RatioOf(const ExifValue& value) {
    constexpr uint16_t kRational = 5;
    constexpr uint16_t kSignedRational = 10;
    if (value.bytes.size() < 8 || (value.type != kRational && value.type != kSignedRational))
        return std::nullopt;
    const bool isSigned = value.type == kSignedRational;
    const std::string_view bytes = value.bytes;
    return Ratio{LittleEndian32(bytes, isSigned), LittleEndian32(bytes.substr(4), isSigned)};
}

// The first item of a SHORT or LONG value.
std::optional<long long> WholeOf(const ExifValue& value) {
    constexpr uint16_t kShort = 3;
    constexpr uint16_t kLong = 4;
    if (value.type == kShort && value.bytes.size() >= 2)
        return static_cast<unsigned char>(value.bytes[0]) |
               static_cast<unsigned char>(value.bytes[1]) << 8;
    if (value.type == kLong && value.bytes.size() >= 4) return LittleEndian32(value.bytes, false);
    return std::nullopt;
}

std::vector<StoredText> StoredValue(std::string bytes, StoredEncoding encoding) {
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

std::optional<Taken> ExifTaken(const std::vector<ExifValue>& exif) {
    const std::string& time = exif[kDateTimeOriginal].bytes;
    const std::optional<TakenAt> at =
        ExifTakenAt(time, exif[kOffsetTimeOriginal].bytes, exif[kSubSecTimeOriginal].bytes);
    if (!at) return std::nullopt;
    return Taken{at, LocalTakenText(time)};
}

// Where EXIF does not say when the photo was taken: XMP, then IPTC.
Taken TakenElsewhere(const XmpDetails& xmp, const Exiv2::IptcData& iptc) {
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

StoredShooting ShootingIn(std::vector<ExifValue>& exif) {
    return {{std::move(exif[kMake].bytes), StoredEncoding::Ascii},
            {std::move(exif[kModel].bytes), StoredEncoding::Ascii},
            {std::move(exif[kLensModel].bytes), StoredEncoding::Ascii},
            RatioOf(exif[kExposureTime]),
            RatioOf(exif[kFNumber]),
            RatioOf(exif[kFocalLength]),
            WholeOf(exif[kIso])};
}

StoredDetails StoredIn(XmpDetails xmp, const Exiv2::IptcData& iptc, std::vector<ExifValue>& exif) {
    using Sets = Exiv2::IptcDataSets;
    const StoredEncoding text = IptcIsUtf8(iptc) ? StoredEncoding::Utf8 : StoredEncoding::Latin1;
    StoredDetails stored;
    stored.title = {std::move(xmp.title), IptcValues(iptc, Sets::ObjectName, text),
                    StoredValue(std::move(exif[kXpTitle].bytes), StoredEncoding::Utf16Le)};
    stored.description = {
        std::move(xmp.description), IptcValues(iptc, Sets::Caption, text),
        StoredValue(std::move(exif[kImageDescription].bytes), StoredEncoding::Ascii),
        StoredValue(std::move(exif[kXpComment].bytes), StoredEncoding::Utf16Le)};
    stored.keywords = {
        std::move(xmp.subject), IptcValues(iptc, Sets::Keywords, text),
        SplitXpKeywords(StoredValue(std::move(exif[kXpKeywords].bytes), StoredEncoding::Utf16Le))};
    stored.alt = {std::move(xmp.alt)};
    return stored;
}

// The IPTC record, decoded only when it is needed.
using IptcSource = std::function<Exiv2::IptcData()>;

// When the photo was taken and how, and with `fields` the page fields too. A camera's photo says
// when it was taken in EXIF; only without that are XMP and IPTC looked at for it.
PhotoDetails DetailsIn(const std::string& xmpPacket, const IptcSource& iptcSource,
                       std::vector<ExifValue> exif, bool fields) {
    std::optional<Taken> taken = ExifTaken(exif);
    PhotoDetails details;
    if (fields || !taken) {
        XmpDetails xmp = ReadXmpPacket(xmpPacket);
        const Exiv2::IptcData iptc = iptcSource();
        if (!taken) taken = TakenElsewhere(xmp, iptc);
        if (fields) details = ChooseDetails(StoredIn(std::move(xmp), iptc, exif));
    }
    details.takenAt = taken->at;
    details.shooting = DescribeShooting(ShootingIn(exif), std::move(taken->local));
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

// The places of an EXIF block found without the library, which would decode every field of it.
// Damaged EXIF costs only what it holds; the other places may still describe the photo.
std::vector<ExifValue> ExifIn(const std::string& tiff) { return FindExifValues(tiff, kExifTags); }

// The segments are found without the library, which would also read the XMP packet its own,
// much slower way.
PhotoDetails ReadJpeg(const JpegMetadata& jpeg, bool fields) {
    return DetailsIn(
        jpeg.xmp, [&jpeg] { return IptcIn(jpeg.photoshop); }, ExifIn(jpeg.exif), fields);
}

}  // namespace

// The library keeps its XMP parser for the whole process and reports on stderr unless muted.
// Photos are read on several threads at once, and the parser is safe for that only with a lock.
Exiv2PhotoReader::Exiv2PhotoReader(FileOps& ops, HeifReader& heif) : m_ops(ops), m_heif(heif) {
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
    return ReadDetails(path, true);
}

std::optional<PhotoDetails> Exiv2PhotoReader::ReadWhenAndHow(const std::string& path) {
    return ReadDetails(path, false);
}

std::optional<PhotoDetails> Exiv2PhotoReader::ReadDetails(const std::string& path, bool fields) {
    try {
        if (const std::optional<JpegMetadata> jpeg = ReadJpegMetadata(m_ops, path))
            return ReadJpeg(*jpeg, fields);
        BlockReader file(m_ops, path);
        if (LooksLikeIsoMedia(file)) {
            BlockSource source(file);
            const std::optional<HeifMetadata> heif = m_heif.ReadMetadata(source);
            if (!heif) return std::nullopt;
            return DetailsIn(
                heif->xmp, [] { return Exiv2::IptcData(); }, ExifIn(heif->exif), fields);
        }
        const std::optional<std::string> bytes = FileBytes(file);
        if (!bytes || bytes->empty()) return std::nullopt;
        const auto* data = reinterpret_cast<const unsigned char*>(bytes->data());
        auto image = Exiv2::ImageFactory::open(data, static_cast<long>(bytes->size()));
        if (image.get() == nullptr) return std::nullopt;
        image->readMetadata();
        return DetailsIn(
            image->xmpPacket(), [&image] { return image->iptcData(); },
            ExifValuesOf(image->exifData()), fields);
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace vistello
