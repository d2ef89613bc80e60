#include "images/heif_module.h"

#include <iostream>
#include <utility>

#include "files/module_entry.h"

namespace vistello {

namespace {

using Entry = HeifReader* (*)();

}  // namespace

HeifModule::HeifModule(std::vector<std::string> places) : m_places(std::move(places)) {}

// Without the module a HEIF photo's details cannot be read, as any unreadable photo's.
std::optional<HeifMetadata> HeifModule::ReadMetadata(ByteSource& file) {
    std::call_once(m_loaded, [this] {
        std::string failure;
        if (auto entry = reinterpret_cast<Entry>(
                FindModuleEntry(m_places, kHeifReaderEntry, "an image", failure))) {
            m_reader = entry();
            return;
        }
        std::cerr << "vistello: the HEIF library could not be loaded: " << failure << "\n";
    });
    HeifReader* reader = m_reader.load();
    if (reader == nullptr) return std::nullopt;
    return reader->ReadMetadata(file);
}

}  // namespace vistello
