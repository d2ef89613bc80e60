#include "photo/xmp_packet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vistello::testing {
namespace {

using Texts = std::vector<std::vector<std::string>>;

// Title, description, subject and alt text, each as its values.
Texts TextsOf(const XmpDetails& details) {
    Texts texts;
    for (const auto* values :
         {&details.title, &details.description, &details.subject, &details.alt}) {
        texts.emplace_back();
        for (const StoredText& value : *values) texts.back().push_back(value.bytes);
    }
    return texts;
}

std::string Packet(const std::string& description) {
    return "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>"
           "<x:xmpmeta xmlns:x='adobe:ns:meta/'>"
           "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'"
           " xmlns:d='http://purl.org/dc/elements/1.1/'"
           " xmlns:Iptc4xmpCore='http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/'>" +
           description + "</rdf:RDF></x:xmpmeta>" + std::string(200, ' ') + "<?xpacket end='w'?>";
}

TEST(XmpPacketTest, ReadsEveryFormWritersUse) {
    const struct {
        const char* what;
        std::string packet;
        Texts expected;
    } cases[] = {
        {"languages in packet order, the default first; a prefix of the writer's choosing",
         Packet("<rdf:Description><d:title><rdf:Alt>"
                "<rdf:li xml:lang='de'>Abendrot</rdf:li><rdf:li xml:lang='fr'>Couchant</rdf:li>"
                "<rdf:li xml:lang='x-default'>Sunset</rdf:li>"
                "</rdf:Alt></d:title></rdf:Description>"),
         {{"Sunset", "Abendrot", "Couchant"}, {}, {}, {}}},
        {"simple values as attributes and as text; a property named again is passed over",
         Packet("<rdf:Description d:description='Boats at dawn'><d:title>Harbour</d:title>"
                "</rdf:Description><rdf:Description d:title='Again'/>"),
         {{"Harbour"}, {"Boats at dawn"}, {}, {}}},
        {"a bag in order, with what a list item holds below it left out; alt text",
         Packet("<rdf:Description><d:subject><rdf:Bag><rdf:li>sea</rdf:li>"
                "<rdf:li><rdf:Description><rdf:value>deep</rdf:value></rdf:Description></rdf:li>"
                "<rdf:li>sun</rdf:li></rdf:Bag></d:subject>"
                "<Iptc4xmpCore:AltTextAccessibility><rdf:Alt><rdf:li xml:lang='x-default'>Boats"
                "</rdf:li></rdf:Alt></Iptc4xmpCore:AltTextAccessibility></rdf:Description>"),
         {{}, {}, {"sea", "", "sun"}, {"Boats"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(TextsOf(ReadXmpPacket(c.packet)), c.expected) << c.what;
}

// Half a packet, one that would expand entities, and one that breaks its own encoding each give
// nothing, not what came before the fault.
TEST(XmpPacketTest, APacketThatIsNotSoundGivesNothing) {
    const std::string title = "<rdf:Description><d:title>Harbour</d:title>";
    const std::string packets[] = {
        Packet(title + "<d:description>"),
        "<!DOCTYPE x [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;'>]>" +
            Packet(title + "<d:description>&b;</d:description></rdf:Description>"),
        Packet(title + "<d:description>Caf\xE9</d:description></rdf:Description>"),
    };
    for (const std::string& packet : packets) {
        EXPECT_EQ(TextsOf(ReadXmpPacket(packet)), Texts(4)) << packet;
    }
}

}  // namespace
}  // namespace vistello::testing
