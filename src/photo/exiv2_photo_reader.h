#pragma once

#include <optional>
#include <string>

#include "files/file_ops.h"
#include "media/heif_reader.h"
#include "media/photo_reader.h"

namespace vistello {

// Reads EXIF and IPTC with the photo library and XMP with the XML library. Of a JPEG, the
// segments that hold them are found first and only they are read; of a HEIC or AVIF photo, the
// container library (`heif`) finds the primary image's blocks. Every failure of a library,
// on any file however damaged, ends as "cannot be read"; nothing it throws leaves Read. Every
// file is opened through ops, and only a regular file is read. Photos may be read on several
// threads at once.
class Exiv2PhotoReader : public PhotoReader {
public:
    Exiv2PhotoReader(FileOps& ops, HeifReader& heif);
    std::optional<PhotoDetails> Read(const std::string& path) override;
    std::optional<PhotoDetails> ReadWhenAndHow(const std::string& path) override;

private:
    std::optional<PhotoDetails> ReadDetails(const std::string& path, bool fields);

    FileOps& m_ops;
    HeifReader& m_heif;
};

}  // namespace vistello
