#include "photo/xmp_packet.h"

#include <expat.h>

#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace vistello {

namespace {

// Names reach the handlers as namespace URI, this separator, local name.
constexpr char kSeparator = '|';

constexpr std::string_view kRdfLi = "http://www.w3.org/1999/02/22-rdf-syntax-ns#|li";
constexpr std::string_view kXmlLang = "http://www.w3.org/XML/1998/namespace|lang";

constexpr std::array<std::string_view, 7> kProperties = {
    "http://purl.org/dc/elements/1.1/|title",
    "http://purl.org/dc/elements/1.1/|description",
    "http://purl.org/dc/elements/1.1/|subject",
    "http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/|AltTextAccessibility",
    "http://ns.adobe.com/exif/1.0/|DateTimeOriginal",
    "http://ns.adobe.com/photoshop/1.0/|DateCreated",
    "http://ns.adobe.com/xap/1.0/|CreateDate",
};

// Longer than any page field takes, so a value cut here is still refused as too long rather than
// taken cut short; and no more values than any show would use.
constexpr size_t kMaxTextBytes = 64 * 1024;
constexpr size_t kMaxValues = 4096;

class PacketScan {
public:
    explicit PacketScan(XML_Parser parser) : m_parser(parser) {}

    XmpDetails Details() {
        return {std::move(m_values[0]), std::move(m_values[1]), std::move(m_values[2]),
                std::move(m_values[3]), std::move(m_values[4]), std::move(m_values[5]),
                std::move(m_values[6])};
    }

    void Start(std::string_view name, const XML_Char** attributes) {
        ++m_depth;
        if (m_property == nullptr) {
            m_property = Unread(name);
            if (m_property != nullptr) {
                m_propertyDepth = m_depth;
                m_text.clear();
            } else {
                ReadAttributes(attributes);
            }
        } else if (m_depth == m_propertyDepth + 2 && name == kRdfLi) {
            m_inItem = true;
            m_text.clear();
            m_defaultLanguage = Language(attributes) == "x-default";
        }
    }

    void Text(std::string_view text) {
        const bool own = m_inItem ? m_depth == m_propertyDepth + 2
                                  : m_property != nullptr && m_depth == m_propertyDepth;
        if (own) m_text.append(text.substr(0, kMaxTextBytes - m_text.size()));
    }

    void End() {
        if (m_inItem && m_depth == m_propertyDepth + 2) {
            Add(*m_property, m_defaultLanguage);
            m_inItem = false;
        } else if (m_property != nullptr && m_depth == m_propertyDepth) {
            // A property that holds its value as plain text rather than in a list.
            if (m_property->empty()) Add(*m_property, false);
            m_property = nullptr;
        }
        --m_depth;
    }

    void Refuse() {
        m_refused = true;
        XML_StopParser(m_parser, XML_FALSE);
    }

    bool Refused() const { return m_refused; }

private:
    // Where a property's values go the first time it is named; a later one is passed over.
    std::vector<StoredText>* Unread(std::string_view name) {
        for (size_t i = 0; i < kProperties.size(); ++i) {
            if (name != kProperties[i] || m_seen[i]) continue;
            m_seen[i] = true;
            return &m_values[i];
        }
        return nullptr;
    }

    // A simple value may also be written as an attribute of its description.
    void ReadAttributes(const XML_Char** attributes) {
        for (; attributes[0] != nullptr; attributes += 2) {
            if (std::vector<StoredText>* values = Unread(attributes[0])) {
                m_text.assign(std::string_view(attributes[1]).substr(0, kMaxTextBytes));
                Add(*values, false);
            }
        }
    }

    static std::string_view Language(const XML_Char** attributes) {
        for (; attributes[0] != nullptr; attributes += 2) {
            if (attributes[0] == kXmlLang) return attributes[1];
        }
        return {};
    }

    void Add(std::vector<StoredText>& values, bool first) {
        if (values.size() < kMaxValues)
            values.insert(first ? values.begin() : values.end(), {m_text});
        m_text.clear();
    }

    XML_Parser m_parser;
    std::array<std::vector<StoredText>, kProperties.size()> m_values;
    std::array<bool, kProperties.size()> m_seen{};
    std::vector<StoredText>* m_property = nullptr;
    int m_propertyDepth = 0;
    int m_depth = 0;
    bool m_inItem = false;
    bool m_defaultLanguage = false;
    bool m_refused = false;
    std::string m_text;
};

PacketScan& ScanOf(void* data) { return *static_cast<PacketScan*>(data); }

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    ScanOf(data).Start(name, attributes);
}

void OnEnd(void* data, const XML_Char*) { ScanOf(data).End(); }

void OnText(void* data, const XML_Char* text, int length) {
    ScanOf(data).Text(std::string_view(text, static_cast<size_t>(length)));
}

// A packet never needs a document type; one could only be there to expand entities.
void OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    ScanOf(data).Refuse();
}

// The writer's padding and the closing processing instruction say nothing; the XML library
// need not read them.
std::string_view WithoutPadding(std::string_view packet) {
    const size_t close = packet.rfind("<?xpacket end");
    if (close == std::string_view::npos) return packet;
    const void* last = ::memrchr(packet.data(), '>', close);
    if (last == nullptr) return packet;
    return packet.substr(0,
                         static_cast<size_t>(static_cast<const char*>(last) - packet.data()) + 1);
}

// The library salts its name tables against names chosen to collide; it would draw a new salt
// from the system for every packet, where one unknown salt per process serves as well.
unsigned long HashSalt() {
    static const unsigned long salt = [] {
        std::random_device random;
        return static_cast<unsigned long>(random()) << 32 ^ random();
    }();
    return salt;
}

// One parser per thread, reset for each packet, spares the allocations of a new one.
XML_Parser Parser() {
    thread_local const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreateNS(nullptr, kSeparator), &XML_ParserFree);
    if (!parser || XML_ParserReset(parser.get(), nullptr) != XML_TRUE) return nullptr;
    XML_SetHashSalt(parser.get(), HashSalt());
    return parser.get();
}

}  // namespace

XmpDetails ReadXmpPacket(std::string_view packet) {
    packet = WithoutPadding(packet);
    XML_Parser parser = Parser();
    if (packet.size() > INT_MAX || parser == nullptr) return {};
    PacketScan scan(parser);
    XML_SetUserData(parser, &scan);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser, OnText);
    XML_SetStartDoctypeDeclHandler(parser, OnDoctype);
    const auto parsed = XML_Parse(parser, packet.data(), static_cast<int>(packet.size()), XML_TRUE);
    if (parsed != XML_STATUS_OK || scan.Refused()) return {};
    return scan.Details();
}

}  // namespace vistello
