#pragma once

#include <array>
#include <string>
#include <string_view>

#include "pictures/web_images.h"
#include "slides/image_entry.h"

namespace vistello {

inline constexpr std::string_view kMediaTag = "<<MEDIA>>";
inline constexpr std::string_view kImageWidthTag = "<<IMAGEWIDTH>>";
inline constexpr std::string_view kImageHeightTag = "<<IMAGEHEIGHT>>";
inline constexpr std::string_view kPrefetchTag = "<<PREFETCH>>";
inline constexpr std::string_view kThumbnailTag = "<<THUMBNAIL>>";
inline constexpr std::string_view kDescriptionTextTag = "<<DESCRIPTIONTEXT>>";
inline constexpr std::string_view kPosterPathTag = "<<POSTERPATH>>";

inline constexpr std::array<std::string_view, 7> kPictureTags = {
    kMediaTag,     kImageWidthTag,      kImageHeightTag, kPrefetchTag,
    kThumbnailTag, kDescriptionTextTag, kPosterPathTag};

// The overview's first thumbnails load at once; those after them, likely below the first screen,
// only as the reader scrolls to them.
inline constexpr size_t kEagerThumbnails = 6;

// What the tags a template holds ask of the show's pictures.
PictureNeeds PictureNeedsOf(std::string_view templateText);

// A clip's poster's address in double quotes, as <<IMAGEPATH>> gives the clip's; empty for a
// photo.
std::string PosterPath(const Picture& picture);

// The slide's picture as one element: for a clip, a video element that plays its web version
// under its poster, with a link to download it for browsers without video; with smaller copies, a
// picture element whose sources and image offer every size with its width, the image's own pixel
// size reserving its space. The alt text goes in as <<ALT>> puts it.
std::string MediaElement(const Picture& picture, std::string_view alt);

// The thumbnail as one image, with one twice as sharp where it was made, offered in WebP too; the
// browser picks by the screen's sharpness and the tile's width, half a phone's screen.
std::string ThumbnailElement(const Picture& picture, std::string_view alt, bool lazy);

// The next page, fetched ahead at low priority; nothing without one. The target is encoded.
std::string PrefetchElement(std::string_view next);

// The description as plain text for a meta tag or an attribute: markup removed, the rest escaped
// (character references kept), on one line; the title where the description says nothing.
std::string DescriptionText(const ImageEntry& entry);

}  // namespace vistello
