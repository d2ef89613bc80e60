#pragma once

#include <string_view>
#include <vector>

#include "media/photo_details.h"

namespace vistello {

// The four XMP properties a page field may come from and the three that may say when the photo
// was taken, each value as the packet holds it. Of a language alternative, the default language
// comes first and the others follow in packet order.
struct XmpDetails {
    std::vector<StoredText> title;
    std::vector<StoredText> description;
    std::vector<StoredText> subject;
    std::vector<StoredText> alt;
    std::vector<StoredText> dateTimeOriginal;
    std::vector<StoredText> dateCreated;
    std::vector<StoredText> createDate;
};

// Reads an XMP packet with the XML library. A packet that is not well-formed XML, or that
// declares a document type, gives nothing at all, as half a packet may say the wrong thing.
XmpDetails ReadXmpPacket(std::string_view packet);

}  // namespace vistello
