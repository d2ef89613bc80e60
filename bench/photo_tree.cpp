#include "photo_tree.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vips/vips8>

#include "pictures/parallel_run.h"

namespace vistello::bench {

namespace {

namespace fs = std::filesystem;

// Photos share their pictures: decoding costs the same whichever picture it is, and a few
// encodes keep making the tree fast. Each file still has its own metadata, so its bytes differ.
constexpr int kPictures = 16;

std::string Numbered(const char* format, int number) {
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

// The folders from the root, in walk order.
std::vector<std::string> FolderPaths(int folders) {
    static constexpr const char* kShapes[] = {"Trip %03d", "Trip %03d/Day 1",
                                              "Trip %03d/Day 1/Evening", "Walk %03d"};
    std::vector<std::string> paths;
    for (int i = 0; i < folders; ++i) paths.push_back(Numbered(kShapes[i % 4], i / 4));
    // Names differ before any separator, so plain order is walk order.
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::string MakePicture(int seed) {
    using vips::VImage;
    VImage shapes =
        VImage::gaussnoise(144, 108, VImage::option()->set("sigma", 60)->set("seed", seed));
    shapes = shapes.bandjoin(shapes.rot180()).bandjoin(shapes.flip(VIPS_DIRECTION_HORIZONTAL));
    VImage photo =
        shapes.resize(8, VImage::option()->set("kernel", VIPS_KERNEL_CUBIC)) +
        VImage::gaussnoise(1152, 864, VImage::option()->set("sigma", 1)->set("seed", seed));
    VipsBlob* blob = photo.cast(VIPS_FORMAT_UCHAR)
                         .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
                         .jpegsave_buffer(VImage::option()->set("Q", 85)->set("strip", true));
    size_t size = 0;
    const void* data = vips_blob_get(blob, &size);
    std::string bytes(static_cast<const char*>(data), size);
    vips_area_unref(VIPS_AREA(blob));
    return bytes;
}

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>(value >> 8 & 0xff);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

// A JPEG segment: marker, big-endian length, payload.
std::string Segment(unsigned marker, const std::string& payload) {
    const size_t length = payload.size() + 2;
    return std::string{'\xff', static_cast<char>(marker), static_cast<char>(length >> 8),
                       static_cast<char>(length & 0xff)} +
           payload;
}

// Little-endian TIFF: IFD0 with make, model and the pointer to an EXIF IFD holding the time.
std::string ExifSegment(const std::string& taken, int camera) {
    const std::string make = "Vistello Bench";
    const std::string model = "Camera " + std::to_string(camera);
    const uint32_t ifd0 = 8, exifIfd = ifd0 + 2 + 3 * 12 + 4, data = exifIfd + 2 + 12 + 4;
    std::string tiff = "II*";
    tiff += '\0';
    Put32(tiff, ifd0);
    Put16(tiff, 3);
    uint32_t next = data;
    const auto ascii = [&](unsigned tag, const std::string& text) {
        Put16(tiff, tag);
        Put16(tiff, 2);
        Put32(tiff, static_cast<uint32_t>(text.size() + 1));
        Put32(tiff, next);
        next += static_cast<uint32_t>(text.size() + 1);
    };
    ascii(0x010f, make);
    ascii(0x0110, model);
    Put16(tiff, 0x8769);
    Put16(tiff, 4);
    Put32(tiff, 1);
    Put32(tiff, exifIfd);
    Put32(tiff, 0);
    Put16(tiff, 1);
    ascii(0x9003, taken);
    Put32(tiff, 0);
    for (const std::string* text : {&make, &model, &taken}) tiff += *text + '\0';
    return Segment(0xe1, std::string("Exif\0\0", 6) + tiff);
}

std::string XmpSegment(int number, const std::string& folder) {
    std::ostringstream packet;
    packet << "http://ns.adobe.com/xap/1.0/" << '\0'
           << "<?xpacket begin=\"\xef\xbb\xbf\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
              "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
              "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
              "rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
              "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Photo "
           << number
           << "</rdf:li></rdf:Alt></dc:title><dc:description><rdf:Alt><rdf:li "
              "xml:lang=\"x-default\">Taken on the way, in "
           << folder
           << "</rdf:li></rdf:Alt></dc:description><dc:subject><rdf:Bag><rdf:li>sea</rdf:li>"
              "<rdf:li>light</rdf:li></rdf:Bag></dc:subject></rdf:Description></rdf:RDF>"
              "</x:xmpmeta><?xpacket end=\"w\"?>";
    return Segment(0xe1, packet.str());
}

// One day per folder, a minute apart within it.
std::string TakenAt(int folder, int photo) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", 2010 + folder / 336,
                  folder / 28 % 12 + 1, folder % 28 + 1, 8 + photo / 60 % 12, photo % 60,
                  folder % 60);
    return text;
}

std::vector<std::string> PhotoPaths(const std::string& root, int photos, int folders) {
    const std::vector<std::string> paths = FolderPaths(folders);
    std::vector<std::string> files;
    for (int i = 0; i < photos; ++i) {
        const size_t folder = static_cast<size_t>(i) * paths.size() / static_cast<size_t>(photos);
        files.push_back(root + "/" + paths[folder] + Numbered("/IMG_%05d.jpg", i));
    }
    return files;
}

void MakeTree(const std::string& root, const std::vector<std::string>& files, int folders) {
    VIPS_INIT("bench");
    std::vector<std::string> pictures;
    for (int seed = 0; seed < kPictures; ++seed) pictures.push_back(MakePicture(seed));
    for (const std::string& folder : FolderPaths(folders))
        fs::create_directories(root + "/" + folder);
    const int count = static_cast<int>(files.size());
    OnEveryCore(count, [&](int i) {
        const int folder = static_cast<int>(static_cast<long long>(i) * folders / count);
        const fs::path path = files[static_cast<size_t>(i)];
        const std::string& picture = pictures[static_cast<size_t>(i % kPictures)];
        std::ofstream out(path, std::ios::binary);
        out << picture.substr(0, 2) << ExifSegment(TakenAt(folder, i), i % 3)
            << XmpSegment(i, path.parent_path().filename().string()) << picture.substr(2);
        if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
    });
}

}  // namespace

void OnEveryCore(int count, const std::function<void(int)>& make) {
    std::atomic<int> next = 0;
    std::vector<std::jthread> threads;
    for (int core = 0; core < CoreCount(); ++core) {
        threads.emplace_back([&] {
            for (int i = next++; i < count; i = next++) make(i);
        });
    }
}

PhotoTree CachedPhotoTree(const std::string& scratch, int photos, int folders) {
    const std::string root =
        scratch + "/tree-" + std::to_string(photos) + "-in-" + std::to_string(folders);
    PhotoTree tree{root + "/photos", PhotoPaths(root + "/photos", photos, folders)};
    const fs::path done = root + "/done";
    if (fs::exists(done)) return tree;
    fs::remove_all(root);
    // In a child, so that the image library's threads and memory stay out of the caller's figures.
    const pid_t child = ::fork();
    if (child == 0) {
        MakeTree(tree.root, tree.photos, folders);
        std::ofstream(done) << "whole\n";
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!fs::exists(done)) throw std::runtime_error("the photo tree could not be made in " + root);
    return tree;
}

}  // namespace vistello::bench
