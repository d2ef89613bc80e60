#include "images/vips_image_maker.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string_view>
#include <vips/vips8>
// After the library's own header, which the switch of its code generator needs before it.
#include <vips/vector.h>

#include "images/format_quality.h"
#include "images/vector_code_lock.h"

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
        // Its run-time code generator shrinks a fifth faster; it may run on several threads only
        // where its compiles and frees take one lock.
        if (!VectorCodeLocked()) vips_vector_set_enabled(FALSE);
    });
}

bool IsGifLoader(std::string_view loader) {
    return loader.find("Gif") != std::string_view::npos ||
           loader.find("gif") != std::string_view::npos;
}

bool HasProfile(VImage& image) { return image.get_typeof(VIPS_META_ICC_NAME) != 0; }

// The library's first line, without the name of the part that said it.
std::string ReasonOf(std::string_view text) {
    text = text.substr(0, text.find('\n'));
    if (const size_t colon = text.find(": ");
        colon != std::string_view::npos &&
        text.substr(0, colon).find(' ') == std::string_view::npos)
        text.remove_prefix(colon + 2);
    return text.empty() ? std::string("the image cannot be decoded") : std::string(text);
}

std::string Bytes(VipsBlob* blob) {
    const std::unique_ptr<VipsArea, void (*)(VipsArea*)> owned(VIPS_AREA(blob), vips_area_unref);
    size_t length = 0;
    const void* data = vips_blob_get(blob, &length);
    return std::string(static_cast<const char*>(data), length);
}

std::string Encode(const VImage& image, ImageFormat format, const ImageJob& job) {
    const bool strip = !job.keepDetails;
    const int quality = EncoderQuality(format, job.quality);
    switch (format) {
        case ImageFormat::Png:
            return Bytes(image.pngsave_buffer(
                job.quick ? VImage::option()->set("strip", strip)->set("compression", 1)
                          : VImage::option()->set("strip", strip)));
        case ImageFormat::WebP:
            return Bytes(image.webpsave_buffer(
                VImage::option()->set("Q", quality)->set("strip", strip)->set("effort", 4)));
        case ImageFormat::Avif:
            return Bytes(
                image.heifsave_buffer(VImage::option()
                                          ->set("Q", quality)
                                          ->set("strip", strip)
                                          ->set("compression", VIPS_FOREIGN_HEIF_COMPRESSION_AV1)
                                          ->set("effort", 2)));
        case ImageFormat::Jpeg:
            break;
    }
    return Bytes(image.jpegsave_buffer(
        VImage::option()->set("Q", quality)->set("strip", strip)->set("optimize_coding", true)));
}

EncodedImage Encoded(const VImage& image, ImageFormat format, const ImageJob& job) {
    return {Encode(image, format, job), image.width(), image.height()};
}

// The image without a field its loader attached: the camera and its serial number, the location,
// the photo's own title, description and keywords, in EXIF, XMP, IPTC or a PNG's text, and the
// profile its pixels were already converted from. Taken off the image itself, since not every
// saver strips what it is asked to: webpsave writes EXIF and XMP all the same. Only the mark that
// the pixels are read in order stays, which no saver writes and the reading needs.
VImage WithoutDetails(const VImage& image) {
    VImage bare = image.copy();
    gchar** fields = vips_image_get_fields(bare.get_image());
    for (gchar** field = fields; *field != nullptr; ++field) {
        if (std::string_view(*field) != VIPS_META_SEQUENTIAL) bare.remove(*field);
    }
    g_strfreev(fields);
    return bare;
}

// The decoded image made no larger than `side` on its longer edge.
VImage Smaller(const VImage& image, int side) {
    const int longer = std::max(image.width(), image.height());
    if (side <= 0 || side >= longer) return image;
    return image.resize(static_cast<double>(side) / longer);
}

MadeImage MakeImage(const ImageJob& job) {
    if (vips_foreign_find_load(job.source.c_str()) == nullptr) {
        vips_error_clear();
        return {{}, "not a known image format"};
    }
    VImage header = VImage::new_from_file(job.source.c_str(),
                                          VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
    if (static_cast<double>(header.width()) * header.height() > kMaxImagePixels)
        return {{},
                "larger than " + std::to_string(static_cast<int>(kMaxImagePixels / 1e6)) +
                    " megapixels"};
    // Decoded once at the largest side asked for: a thumbnail's sharper twin is larger than it.
    int side = job.side > 0 ? job.side : VIPS_MAX_COORD;
    for (const ImageOutput& output : job.more) side = std::max(side, output.side);
    // A photo cut short is a failed image, not one published half grey.
    auto* options = VImage::option()
                        ->set("height", side)
                        ->set("size", VIPS_SIZE_DOWN)
                        ->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
    // An embedded profile is applied, so every copy shows its colours in sRGB.
    if (HasProfile(header)) options->set("export_profile", "srgb");
    VImage image = VImage::thumbnail(job.source.c_str(), side, options);
    if (!job.keepDetails) image = WithoutDetails(image);
    const bool flat = !job.png && image.has_alpha();
    MadeImage made;
    if (job.more.empty()) {
        if (flat) image = image.flatten(VImage::option()->set("background", 255));
        made.images.push_back(Encoded(image, job.png ? ImageFormat::Png : ImageFormat::Jpeg, job));
        return made;
    }
    // Decoded once and kept, rather than decoded again for every copy.
    image = image.copy_memory();
    const VImage opaque = flat ? image.flatten(VImage::option()->set("background", 255)) : image;
    made.images.push_back(
        Encoded(Smaller(opaque, job.side), job.png ? ImageFormat::Png : ImageFormat::Jpeg, job));
    for (const ImageOutput& output : job.more) {
        const bool keepsAlpha = output.format != ImageFormat::Jpeg;
        VImage smaller = Smaller(keepsAlpha ? image : opaque, output.side);
        made.images.push_back(Encoded(smaller, output.format, job));
    }
    return made;
}

}  // namespace

std::optional<ImageFacts> VipsImageMaker::Examine(const std::string& source) {
    StartLibrary();
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
        // Orientations 5 to 8 turn the picture a quarter.
        const bool turned = header.get_typeof(VIPS_META_ORIENTATION) != 0 &&
                            header.get_int(VIPS_META_ORIENTATION) >= 5;
        facts.width = turned ? header.height() : header.width();
        facts.height = turned ? header.width() : header.height();
    } catch (const vips::VError&) {
        vips_error_clear();
    }
    return facts;
}

MadeImage VipsImageMaker::Make(const ImageJob& job) {
    StartLibrary();
    try {
        return MakeImage(job);
    } catch (const vips::VError& error) {
        vips_error_clear();
        return {{}, ReasonOf(error.what())};
    } catch (const std::exception& error) {
        vips_error_clear();
        return {{}, error.what()};
    }
}

// The library keeps buffers and error text per thread; a thread it did not start must hand
// them back before it ends. A thread that made nothing still finds the library started, which
// its shutdown needs.
void VipsImageMaker::EndThread() {
    StartLibrary();
    vips_thread_shutdown();
}

}  // namespace vistello
