#include "photo/exiv2_photo_reader.h"

#include <exiv2/exiv2.hpp>
#include <mutex>
#include <vector>

namespace vistello {

namespace {

// The IPTC record's own way of saying its text is UTF-8 (ESC % G).
constexpr std::string_view kIptcUtf8 = "\x1b%G";

std::vector<StoredText> XmpValues(const Exiv2::XmpData& xmp, const char* key) {
    std::vector<StoredText> values;
    const auto datum = xmp.findKey(Exiv2::XmpKey(key));
    if (datum == xmp.end()) return values;
    if (datum->typeId() == Exiv2::langAlt) {
        const auto& alternatives = dynamic_cast<const Exiv2::LangAltValue&>(datum->value());
        // The default language first, then the others in the order they are named.
        const auto preferred = alternatives.value_.find("x-default");
        if (preferred != alternatives.value_.end()) values.push_back({preferred->second});
        for (const auto& [language, text] : alternatives.value_) {
            if (language != "x-default") values.push_back({text});
        }
        return values;
    }
    for (long i = 0; i < datum->count(); ++i) values.push_back({datum->toString(i)});
    return values;
}

std::vector<StoredText> IptcValues(const Exiv2::IptcData& iptc, const char* key) {
    const auto charset = iptc.findKey(Exiv2::IptcKey("Iptc.Envelope.CharacterSet"));
    const bool utf8 = charset != iptc.end() && charset->toString() == kIptcUtf8;
    std::vector<StoredText> values;
    for (const Exiv2::Iptcdatum& datum : iptc) {
        if (datum.key() != key) continue;
        values.push_back({datum.toString(), utf8 ? StoredEncoding::Utf8 : StoredEncoding::Latin1});
    }
    return values;
}

std::vector<StoredText> ExifValue(const Exiv2::ExifData& exif, const char* key,
                                  StoredEncoding encoding) {
    const auto datum = exif.findKey(Exiv2::ExifKey(key));
    if (datum == exif.end()) return {};
    std::string bytes(static_cast<size_t>(datum->size()), '\0');
    datum->copy(reinterpret_cast<Exiv2::byte*>(bytes.data()), Exiv2::littleEndian);
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

StoredDetails StoredIn(const Exiv2::Image& image) {
    const Exiv2::XmpData& xmp = image.xmpData();
    const Exiv2::IptcData& iptc = image.iptcData();
    const Exiv2::ExifData& exif = image.exifData();
    StoredDetails stored;
    stored.title = {XmpValues(xmp, "Xmp.dc.title"),
                    IptcValues(iptc, "Iptc.Application2.ObjectName"),
                    ExifValue(exif, "Exif.Image.XPTitle", StoredEncoding::Utf16Le)};
    stored.description = {XmpValues(xmp, "Xmp.dc.description"),
                          IptcValues(iptc, "Iptc.Application2.Caption"),
                          ExifValue(exif, "Exif.Image.ImageDescription", StoredEncoding::Ascii),
                          ExifValue(exif, "Exif.Image.XPComment", StoredEncoding::Utf16Le)};
    stored.keywords = {
        XmpValues(xmp, "Xmp.dc.subject"), IptcValues(iptc, "Iptc.Application2.Keywords"),
        SplitXpKeywords(ExifValue(exif, "Exif.Image.XPKeywords", StoredEncoding::Utf16Le))};
    stored.alt = {XmpValues(xmp, "Xmp.iptc.AltTextAccessibility")};
    return stored;
}

}  // namespace

// The library keeps its XMP parser for the whole process and reports on stderr unless muted.
Exiv2PhotoReader::Exiv2PhotoReader() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
    });
}

std::optional<PhotoDetails> Exiv2PhotoReader::Read(const std::string& path) {
    try {
        auto image = Exiv2::ImageFactory::open(path);
        if (image.get() == nullptr) return std::nullopt;
        image->readMetadata();
        return ChooseDetails(StoredIn(*image));
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace vistello
