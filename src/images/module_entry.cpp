#include "images/heif_metadata.h"
#include "images/heif_module.h"
#include "images/image_module.h"
#include "images/vips_image_maker.h"

// The names the program looks up in this module: kImageMakerEntry and kHeifReaderEntry.
extern "C" __attribute__((visibility("default"))) vistello::ImageMaker* vistello_image_maker() {
    static vistello::VipsImageMaker maker;
    return &maker;
}

extern "C" __attribute__((visibility("default"))) vistello::HeifReader* vistello_heif_reader() {
    static vistello::LibheifReader reader;
    return &reader;
}
