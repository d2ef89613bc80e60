#include "site/site_writer.h"

#include <algorithm>
#include <utility>

#include "generator/site_tags.h"

namespace vistello {

namespace {

constexpr std::string_view kTopTitle = "Home";

void Prefix(PictureFile& file, const std::string& prefix) {
    if (!file.path.empty()) file.path = prefix + file.path;
}

// The picture as seen from the folder `prefix` leads down from.
Picture Prefixed(Picture picture, const std::string& prefix) {
    for (PictureFile* file :
         {&picture.image, &picture.thumbnail, &picture.doubleThumbnail, &picture.webpThumbnail,
          &picture.doubleWebpThumbnail, &picture.poster})
        Prefix(*file, prefix);
    for (std::vector<PictureFile>* files : {&picture.ladder, &picture.webp, &picture.avif}) {
        for (PictureFile& file : *files) Prefix(file, prefix);
    }
    return picture;
}

std::string TitleOf(const SiteAlbum& album) {
    return album.row ? album.row->title : std::string(kTopTitle);
}

// The album's own summary with those of its albums taken in: their counts, their days, and the
// first one's cover where it has none of its own.
void TakeIn(AlbumSummary& summary, const AlbumSummary& inner, const std::string& folder) {
    summary.photos += inner.photos;
    summary.clips += inner.clips;
    if (!inner.firstDay.empty() && (summary.firstDay.empty() || inner.firstDay < summary.firstDay))
        summary.firstDay = inner.firstDay;
    summary.lastDay = std::max(summary.lastDay, inner.lastDay);
    if (!summary.hasCover && inner.hasCover) {
        summary.cover = Prefixed(inner.cover, folder);
        summary.hasCover = true;
    }
}

class SiteWriter {
public:
    SiteWriter(FileOps& ops, const Site& site, const TagSet& tags, const std::string& outputFolder,
               const SiteTools& tools)
        : m_ops(ops),
          m_site(site),
          m_tags(tags),
          m_output(outputFolder),
          m_tools(tools),
          m_summaries(site.albums.size()),
          m_wantDates(
              std::any_of(site.albums.begin(), site.albums.end(), [](const SiteAlbum& album) {
                  return album.overviewText.find(kAlbumDatesTag) != std::string::npos;
              })) {}

    SiteResult Write();

private:
    SitePlace PlaceOf(size_t index) const;
    // False when the run is to stop.
    bool WriteAlbum(size_t index, SiteResult& result);

    FileOps& m_ops;
    const Site& m_site;
    const TagSet& m_tags;
    const std::string& m_output;
    const SiteTools& m_tools;
    std::vector<AlbumSummary> m_summaries;
    bool m_wantDates;
};

SitePlace SiteWriter::PlaceOf(size_t index) const {
    const SiteAlbum& album = m_site.albums[index];
    SitePlace place;
    for (int above = album.parent; above >= 0; above = m_site.albums[above].parent) {
        const SiteAlbum& step = m_site.albums[static_cast<size_t>(above)];
        std::string page;
        for (int level = step.depth; level < album.depth; ++level) page += "../";
        place.above.insert(place.above.begin(),
                           {page + std::string(kOverviewPageName), TitleOf(step)});
    }
    place.title = TitleOf(album);
    place.wantDates = m_wantDates;
    for (const size_t inner : album.albums) {
        const SiteAlbum& held = m_site.albums[inner];
        const AlbumSummary& summary = m_summaries[inner];
        const std::string folder = held.folder.substr(album.folder.size());
        place.albums.push_back({held.row, folder + summary.home, Prefixed(summary.cover, folder),
                                AlbumCountText(summary.photos, summary.clips),
                                AlbumDatesText(summary.firstDay, summary.lastDay)});
    }
    return place;
}

void Add(PageSetResult& total, PageSetResult part) {
    total.pages += part.pages;
    total.pagesFailed += part.pagesFailed;
    total.pagesWritten += part.pagesWritten;
    total.images += part.images;
    total.clips += part.clips;
    total.imagesFailed += part.imagesFailed;
    total.converted += part.converted;
    if (total.clipsCopied.empty()) total.clipsCopied = std::move(part.clipsCopied);
    total.stopped = part.stopped;
    for (auto [into, from] :
         {std::pair{&total.failures, &part.failures}, std::pair{&total.removed, &part.removed},
          std::pair{&total.kept, &part.kept}})
        into->insert(into->end(), from->begin(), from->end());
    total.failure = std::move(part.failure);
    total.removalsFailed += part.removalsFailed;
}

bool SiteWriter::WriteAlbum(size_t index, SiteResult& result) {
    const SiteAlbum& album = m_site.albums[index];
    const std::string folder = m_output + album.folder;
    // Albums are made before the ones that hold them, whose folders may not be there yet.
    for (size_t slash = album.folder.find('/'); slash != std::string::npos;
         slash = album.folder.find('/', slash + 1))
        m_ops.MakeFolder(m_output + album.folder.substr(0, slash));
    const SitePlace place = PlaceOf(index);
    const WebShow web{
        album.web,      album.overviewText, m_tools.images, m_tools.onImage,   0,
        m_tools.photos, m_tools.clips,      m_tools.onClip, album.projectFile, album.templateFile,
        &place};
    PageSetResult pages = WritePageSet(m_ops, album.slides, album.templateText, m_tags, folder,
                                       m_tools.onPage, index == 0 ? m_tools.memory : nullptr, &web);
    AlbumSummary summary = std::move(pages.album);
    summary.home = pages.firstPage;
    for (const size_t inner : album.albums)
        TakeIn(summary, m_summaries[inner],
               m_site.albums[inner].folder.substr(album.folder.size()));
    m_summaries[index] = std::move(summary);
    if (index == 0) result.pages.firstPage = pages.firstPage;
    const bool stopped = pages.stopped;
    Add(result.pages, std::move(pages));
    ++result.albums;
    return !stopped;
}

SiteResult SiteWriter::Write() {
    SiteResult result;
    result.skipped = m_site.skipped;
    const int count = static_cast<int>(m_site.albums.size());
    // Every album stands after the one that holds it, so from the last back each is made before
    // its parent.
    for (size_t index = m_site.albums.size(); index-- > 0;) {
        const int slides = static_cast<int>(m_site.albums[index].slides.size());
        if (m_tools.onAlbum && !m_tools.onAlbum(count - static_cast<int>(index), count, slides)) {
            result.pages.stopped = true;
            break;
        }
        if (!WriteAlbum(index, result)) break;
    }
    return result;
}

}  // namespace

SiteResult WriteSite(FileOps& ops, const Site& site, const TagSet& tags,
                     const std::string& outputFolder, const SiteTools& tools) {
    return SiteWriter(ops, site, tags, outputFolder, tools).Write();
}

}  // namespace vistello
