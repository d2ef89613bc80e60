#include "images/image_module.h"

#include <iostream>
#include <utility>

#include "files/module_entry.h"

namespace vistello {

namespace {

using Entry = ImageMaker* (*)();

}  // namespace

ImageModule::ImageModule(std::vector<std::string> places) : m_places(std::move(places)) {}

ImageMaker* ImageModule::Load() {
    std::call_once(m_loaded, [this] {
        if (auto entry = reinterpret_cast<Entry>(
                FindModuleEntry(m_places, kImageMakerEntry, "an image", m_failure))) {
            m_maker = entry();
            return;
        }
        m_failure = "the image library could not be loaded: " + m_failure;
        std::cerr << "vistello: " << m_failure << "\n";
    });
    return m_maker;
}

std::optional<ImageFacts> ImageModule::Examine(const std::string& source) {
    ImageMaker* maker = Load();
    if (maker == nullptr) return std::nullopt;
    return maker->Examine(source);
}

MadeImage ImageModule::Make(const ImageJob& job) {
    ImageMaker* maker = Load();
    if (maker == nullptr) return {{}, m_failure};
    return maker->Make(job);
}

// A thread that never used the library has nothing to hand back; loading the module only to end
// such a thread would spend what keeping it out of the start saves.
void ImageModule::EndThread() {
    if (ImageMaker* maker = m_maker.load()) maker->EndThread();
}

}  // namespace vistello
