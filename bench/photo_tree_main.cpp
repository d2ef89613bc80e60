// Makes the photo tree of the album benchmarks for the scripts beside them, or finds it made, and
// prints where its photos are: photo_tree SCRATCH PHOTOS FOLDERS.
#include <cstdio>
#include <string>

#include "photo_tree.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SCRATCH PHOTOS FOLDERS\n", argv[0]);
        return 2;
    }
    const vistello::bench::PhotoTree tree =
        vistello::bench::CachedPhotoTree(argv[1], std::stoi(argv[2]), std::stoi(argv[3]));
    std::printf("%s\n", tree.root.c_str());
    return 0;
}
