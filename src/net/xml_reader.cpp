#include "net/xml_reader.h"

#include <expat.h>

#include <climits>
#include <string>

namespace vistello {

namespace {

struct Reading {
    XML_Parser parser;
    const XmlHandlers& handlers;
    std::string text;
};

// Names come as "namespace|local" from a parser that knows namespaces.
std::string_view LocalName(const XML_Char* name) {
    const std::string_view full(name);
    const size_t bar = full.rfind('|');
    return bar == std::string_view::npos ? full : full.substr(bar + 1);
}

void OnStart(void* data, const XML_Char* name, const XML_Char**) {
    auto* reading = static_cast<Reading*>(data);
    reading->text.clear();
    if (reading->handlers.start) reading->handlers.start(LocalName(name));
}

void OnEnd(void* data, const XML_Char* name) {
    auto* reading = static_cast<Reading*>(data);
    if (reading->handlers.end) reading->handlers.end(LocalName(name), reading->text);
    reading->text.clear();
}

void OnText(void* data, const XML_Char* text, int size) {
    static_cast<Reading*>(data)->text.append(text, static_cast<size_t>(size));
}

// Stopped this way, the parse fails.
void OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    XML_StopParser(static_cast<Reading*>(data)->parser, XML_FALSE);
}

}  // namespace

bool ReadXml(std::string_view xml, const XmlHandlers& handlers) {
    if (xml.size() > static_cast<size_t>(INT_MAX)) return false;
    XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
    if (parser == nullptr) return false;
    Reading reading{parser, handlers, {}};
    XML_SetUserData(parser, &reading);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser, OnText);
    XML_SetStartDoctypeDeclHandler(parser, OnDoctype);
    const bool parsed =
        XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return parsed;
}

}  // namespace vistello
