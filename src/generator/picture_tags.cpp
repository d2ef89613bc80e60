#include "generator/picture_tags.h"

#include <algorithm>

#include "generator/page_names.h"
#include "text/html_escape.h"
#include "text/letter_case.h"

namespace vistello {

namespace {

// Commas would split a candidate of srcset.
std::string Address(std::string_view path) {
    std::string address;
    for (const char c : EncodeAddress(path)) {
        if (c == ',') {
            address += "%2C";
        } else {
            address += c;
        }
    }
    return address;
}

// Whatever the value holds, it stays inside its quotes.
std::string Attribute(std::string_view name, std::string_view value) {
    std::string text = " ";
    return text.append(name).append("=\"").append(AttributeEscaped(value)).append("\"");
}

std::string SizeAttributes(const PictureFile& file) {
    if (file.width <= 0 || file.height <= 0) return {};
    return Attribute("width", std::to_string(file.width)) +
           Attribute("height", std::to_string(file.height));
}

std::string Srcset(const std::vector<PictureFile>& files) {
    std::string srcset;
    for (const PictureFile& file : files) {
        if (!srcset.empty()) srcset += ", ";
        srcset += Address(file.path) + " " + std::to_string(file.width) + "w";
    }
    return srcset;
}

// Shown whole on the screen: as wide as the screen where the picture is the wider, else as wide
// as the screen's height allows.
std::string Sizes(const PictureFile& image) {
    const std::string ratio = std::to_string(image.width) + "/" + std::to_string(image.height);
    return "(max-aspect-ratio: " + ratio + ") 100vw, calc(100vh * " + ratio + ")";
}

bool Known(const std::vector<PictureFile>& files) {
    if (files.empty()) return false;
    for (const PictureFile& file : files) {
        if (file.width <= 0 || file.height <= 0) return false;
    }
    return true;
}

// Where the markup that opens at `at` of the text (`folded`, in small letters) ends: a comment at
// its "-->", a tag at the first ">" outside its quoted values, and a script or a style, whose
// contents are code rather than words, at its end tag.
size_t MarkupEnd(std::string_view folded, size_t at) {
    constexpr auto npos = std::string_view::npos;
    if (folded.substr(at, 4) == "<!--") {
        const size_t end = folded.find("-->", at + 4);
        return end == npos ? folded.size() : end + 3;
    }
    char quote = 0;
    size_t end = at + 1;
    for (; end < folded.size() && (quote != 0 || folded[end] != '>'); ++end) {
        const char c = folded[end];
        if (quote != 0 && c == quote)
            quote = 0;
        else if (quote == 0 && (c == '"' || c == '\''))
            quote = c;
    }
    end = std::min(end + 1, folded.size());
    for (const std::string_view code : {"script", "style"}) {
        const size_t after = at + 1 + code.size();
        if (folded.substr(at + 1, code.size()) != code ||
            (after < folded.size() && folded[after] >= 'a' && folded[after] <= 'z'))
            continue;
        const size_t close = folded.find(std::string("</") + std::string(code), end);
        return close == npos ? folded.size() : MarkupEnd(folded, close);
    }
    return end;
}

// Without the tags, comments and code a character reference would otherwise need: `&` stays
// where it begins one. A "<" that opens no tag, as in "a < b", is text.
std::string PlainText(std::string_view html) {
    const std::string folded = FoldedCase(html);
    std::string text;
    for (size_t at = 0; at < html.size();) {
        if (html[at] == '<' && OpensMarkup(html, at)) {
            at = MarkupEnd(folded, at);
            continue;
        }
        text += static_cast<unsigned char>(html[at]) < 0x20 ? ' ' : html[at];
        ++at;
    }
    return text;
}

std::string Collapsed(std::string_view text) {
    std::string line;
    for (const char c : text) {
        if (c == ' ' && (line.empty() || line.back() == ' ')) continue;
        line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

PictureNeeds PictureNeedsOf(std::string_view templateText) {
    const auto holds = [templateText](std::string_view tag) {
        return templateText.find(tag) != std::string_view::npos;
    };
    PictureNeeds needs;
    needs.ladder = holds(kMediaTag);
    needs.doubleThumbnails = holds(kThumbnailTag);
    needs.sizes =
        needs.ladder || needs.doubleThumbnails || holds(kImageWidthTag) || holds(kImageHeightTag);
    return needs;
}

std::string PosterPath(const Picture& picture) {
    if (picture.poster.path.empty()) return {};
    std::string quoted = "\"";
    quoted += Address(picture.poster.path);
    quoted += '"';
    return quoted;
}

// Plays in the page on a phone too, fetches no more than its size and length until asked. A
// clip copied as it is has no poster, and the browser tells what it holds from its bytes.
std::string VideoElement(const Picture& picture) {
    const std::string video = Address(picture.image.path);
    const bool made = !picture.poster.path.empty();
    const std::string poster = made ? Attribute("poster", Address(picture.poster.path)) : "";
    const std::string type = made ? Attribute("type", "video/mp4") : "";
    return "<video controls playsinline" + Attribute("preload", "metadata") + poster +
           SizeAttributes(picture.image) + "><source" + Attribute("src", video) + type + "><a" +
           Attribute("href", video) + " download>Download the clip</a></video>";
}

std::string MediaElement(const Picture& picture, std::string_view alt) {
    if (picture.kind == SlideKind::Clip) return VideoElement(picture);
    const PictureFile& image = picture.image;
    const bool ladder = Known(picture.ladder) && image.width > 0 && image.height > 0;
    std::string html;
    if (ladder) {
        const std::string sizes = Sizes(image);
        html += "<picture>";
        for (const auto& [files, type] :
             {std::pair{&picture.avif, "image/avif"}, std::pair{&picture.webp, "image/webp"}}) {
            if (!Known(*files)) continue;
            html += "<source" + Attribute("type", type) + Attribute("srcset", Srcset(*files)) +
                    Attribute("sizes", sizes) + ">";
        }
        html += "<img" + Attribute("src", Address(image.path)) +
                Attribute("srcset", Srcset(picture.ladder)) + Attribute("sizes", sizes);
    } else {
        html += "<img" + Attribute("src", Address(image.path));
    }
    // The slide's picture is what its page is for: fetched before anything else.
    html += SizeAttributes(image) + Attribute("alt", alt) + Attribute("decoding", "async") +
            Attribute("fetchpriority", "high") + ">";
    if (ladder) html += "</picture>";
    return html;
}

// "thumbs/a.jpg 400w, thumbs/a-2x.jpg 800w".
std::string Widths(const PictureFile& single, const PictureFile& twin) {
    return Srcset({single, twin});
}

// A tile is at most the thumbnail's own width, and half a narrow screen: the browser takes the
// twin only for a screen sharp enough to show it.
std::string ThumbnailSizes(const PictureFile& thumbnail) {
    return "(max-width: " + std::to_string(2 * thumbnail.width) + "px) 50vw, " +
           std::to_string(thumbnail.width) + "px";
}

std::string ThumbnailElement(const Picture& picture, std::string_view alt, bool lazy) {
    const PictureFile& thumbnail = picture.thumbnail;
    const bool twin = Known({thumbnail, picture.doubleThumbnail});
    const bool webp = twin && Known({picture.webpThumbnail, picture.doubleWebpThumbnail});
    const std::string sizes = twin ? Attribute("sizes", ThumbnailSizes(thumbnail)) : "";
    std::string html;
    if (webp) {
        html += "<picture><source" + Attribute("type", "image/webp") +
                Attribute("srcset", Widths(picture.webpThumbnail, picture.doubleWebpThumbnail)) +
                sizes + ">";
    }
    html += "<img" + Attribute("src", Address(thumbnail.path));
    if (twin) html += Attribute("srcset", Widths(thumbnail, picture.doubleThumbnail)) + sizes;
    html += SizeAttributes(thumbnail) + Attribute("alt", alt);
    if (lazy) html += Attribute("loading", "lazy");
    // A clip's tile says so, for the look to mark it.
    if (picture.kind == SlideKind::Clip) html += " data-clip";
    html += ">";
    if (webp) html += "</picture>";
    return html;
}

std::string PrefetchElement(std::string_view next) {
    if (next.empty()) return {};
    return "<link" + Attribute("rel", "prefetch") + Attribute("href", next) + ">";
}

std::string DescriptionText(const ImageEntry& entry) {
    std::string text = Collapsed(PlainText(entry.description));
    if (text.empty()) text = Collapsed(PlainText(entry.title));
    return AttributeEscaped(text);
}

}  // namespace vistello
