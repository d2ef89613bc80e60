#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vistello::bench {

// A tree of small camera photos (1152 x 864 JPEGs, each with its own EXIF time taken, camera and
// XMP title, description and keywords) in folders nested up to three deep, none at the top:
// "Trip 000", "Trip 000/Day 1", "Trip 000/Day 1/Evening", "Walk 000", and so on.
struct PhotoTree {
    std::string root;
    // Every photo in the order an import walks the tree: a folder's own photos by name, then its
    // folders by name, each in the same way.
    std::vector<std::string> photos;
};

// The tree of `photos` photos in `folders` folders under `scratch`, made only when it is not
// there whole yet: making it takes a minute or more, so it is kept for the next run.
PhotoTree CachedPhotoTree(const std::string& scratch, int photos, int folders);

// Runs make(0) to make(count - 1) on threads of its own, one per core: a forked child has none of
// its parent's threads, the program's picture threads among them.
void OnEveryCore(int count, const std::function<void(int)>& make);

}  // namespace vistello::bench
