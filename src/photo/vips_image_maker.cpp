#include "photo/vips_image_maker.h"

#include <mutex>
#include <string_view>
#include <vips/vips8>

namespace vistello {

namespace {

using vips::VImage;

void StartLibrary() {
    static std::once_flag started;
    std::call_once(started, [] {
        VIPS_INIT("vistello");
        // A damaged image is reported once, as failed; the library's own warnings would only
        // repeat that on the terminal.
        g_log_set_handler(
            "VIPS", G_LOG_LEVEL_WARNING,
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
        // Each image is made once; a cache would only hold memory.
        vips_cache_set_max(0);
        // Images are made side by side, one per core already.
        vips_concurrency_set(1);
    });
}

bool IsGifLoader(std::string_view loader) {
    return loader.find("Gif") != std::string_view::npos ||
           loader.find("gif") != std::string_view::npos;
}

bool HasProfile(VImage& image) { return image.get_typeof(VIPS_META_ICC_NAME) != 0; }

void Save(VImage& image, const ImageJob& job) {
    if (job.png) {
        image.pngsave(job.target.c_str(), VImage::option()->set("strip", !job.keepDetails));
    } else {
        image.jpegsave(job.target.c_str(), VImage::option()
                                               ->set("Q", job.quality)
                                               ->set("strip", !job.keepDetails)
                                               ->set("optimize_coding", true));
    }
}

bool MakeImage(const ImageJob& job) {
    VImage header = VImage::new_from_file(job.source.c_str(),
                                          VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
    if (static_cast<double>(header.width()) * header.height() > kMaxImagePixels) return false;
    // A photo cut short is a failed image, not one published half grey.
    auto* options = VImage::option()
                        ->set("height", job.side)
                        ->set("size", VIPS_SIZE_DOWN)
                        ->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
    // An embedded profile is applied, so every copy shows its colours in sRGB.
    if (HasProfile(header)) options->set("export_profile", "srgb");
    VImage image = VImage::thumbnail(job.source.c_str(), job.side, options);
    if (!job.png && image.has_alpha())
        image = image.flatten(VImage::option()->set("background", 255));
    Save(image, job);
    return true;
}

}  // namespace

VipsImageMaker::VipsImageMaker() { StartLibrary(); }

std::optional<ImageFacts> VipsImageMaker::Examine(const std::string& source) {
    const char* loader = vips_foreign_find_load(source.c_str());
    if (loader == nullptr) {
        vips_error_clear();
        return std::nullopt;
    }
    ImageFacts facts;
    facts.gif = IsGifLoader(loader);
    try {
        VImage header = VImage::new_from_file(
            source.c_str(), VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
        facts.transparent = header.has_alpha();
    } catch (const vips::VError&) {
        vips_error_clear();
    }
    return facts;
}

bool VipsImageMaker::Make(const ImageJob& job) {
    try {
        return MakeImage(job);
    } catch (...) {
        vips_error_clear();
        return false;
    }
}

}  // namespace vistello
