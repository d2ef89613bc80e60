#include "images/image_module.h"
#include "images/vips_image_maker.h"

// The one name the program looks up in this module: kImageMakerEntry.
extern "C" __attribute__((visibility("default"))) vistello::ImageMaker* vistello_image_maker() {
    static vistello::VipsImageMaker maker;
    return &maker;
}
