// The photo reader over any bytes: no crash, no hang, and every value it gives is one line of
// valid UTF-8, as a page field needs it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_input.h"
#include "images/heif_metadata.h"
#include "photo/exiv2_photo_reader.h"
#include "text/lossless_utf8.h"

using vistello::fuzz::Check;

namespace {

bool OneLine(const std::string& value) {
    for (const char c : value) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    }
    return true;
}

// One file per process, rewritten for every input.
const std::string& InputFile() {
    static const std::string path = "/tmp/vistello-photo-fuzz-" + std::to_string(::getpid());
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(InputFile().c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    static vistello::RealFileOps files;
    static vistello::LibheifReader heif;
    static vistello::Exiv2PhotoReader reader(files, heif);
    if (const auto details = reader.Read(InputFile())) {
        const vistello::ShootingData& shot = details->shooting;
        for (const std::string* value :
             {&details->title, &details->description, &details->keywords, &details->alt,
              &shot.dateTaken, &shot.camera, &shot.lens, &shot.exposure}) {
            Check(vistello::IsValidUtf8(*value), "a value is not UTF-8");
            Check(OneLine(*value), "a value holds a line end or a control character");
        }
    }
    return 0;
}
