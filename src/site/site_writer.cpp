#include "site/site_writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <memory>
#include <set>
#include <utility>

#include "files/error_text.h"
#include "files/link_chain.h"
#include "files/path_rules.h"
#include "generator/site_tags.h"
#include "output/made_files.h"
#include "output/owned_files.h"
#include "output/project_places.h"
#include "private/album_sealer.h"
#include "private/sealed_pages.h"
#include "private/staging_folder.h"
#include "show/web_settings.h"
#include "site/private_albums.h"
#include "site/site_record.h"
#include "slides/slide_kind.h"
#include "text/digest.h"

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

void AppendRow(std::string& inputs, const ImageEntry& row) {
    for (int column = 0; column < ImageEntry::kColumnCount; ++column)
        inputs.append(row.Column(column)).push_back('\0');
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
    SitePlace PlaceOf(size_t index);
    // What each album is made from: its own inputs and those of its albums.
    std::vector<std::string> Digests() const;
    // Whether the album was made from the same inputs by the last run, and its folder is as that
    // run left it; its summary is then taken from the record.
    bool Unchanged(size_t index, const std::string& digest, SiteResult& result);
    // False when the run is to stop.
    bool WriteAlbum(size_t index, const std::string& digest, SiteResult& result);
    // The folders of albums the site no longer holds, each only as far as its own files go.
    void RemoveTakenOut(SiteResult& result);

    // The tile of a private album on the overview above it: a lock, and its title only where it
    // chose to show it.
    AlbumTile LockedTile(size_t index);
    // Whether the lock's sealed folder is as the last run left it, made from the same inputs
    // under the same key and password; none of its albums is then made again.
    bool SealUnchanged(size_t lock) const;
    // Counts an album of an unchanged lock as made.
    void CountUnchanged(size_t index, SiteResult& result) const;
    // Seals the lock's staging folder into its place and records it; or records it as it is.
    void Seal(size_t lock, SiteResult& result);
    void KeepSealed(size_t lock);
    // The sealed folder of a lock that the site no longer holds there (taken out, made public or
    // under a new key), each file only as its seals wrote it.
    void RemoveSealed(const std::string& folder, const MadeAlbum& album, bool keptElsewhere,
                      SiteResult& result);
    // A top made private takes away the pages it made public; a top made public, its seal.
    void SettleTop(SiteResult& result);

    FileOps& m_ops;
    const Site& m_site;
    const TagSet& m_tags;
    const std::string& m_output;
    const SiteTools& m_tools;
    std::vector<AlbumSummary> m_summaries;
    bool m_wantDates;
    SiteRecord m_record;
    SiteRecord m_made;
    // Whether the folder is, or lies below, that of an album left out this time.
    bool LeftOut(const std::string& folder) const;
    // The albums left out, by RecordKey.
    std::set<std::string> m_leftOut;
    std::unique_ptr<PrivateAlbums> m_private;
    // Per lock: the digest its record keeps, whether its seal is unchanged, whether one of its
    // albums did not go through, and its first page.
    std::map<size_t, std::string> m_sealDigests;
    std::set<size_t> m_sealsUnchanged;
    std::set<size_t> m_sealsFailed;
    std::map<size_t, std::string> m_sealHomes;
    // The rows the tiles of private albums show in place of their own.
    std::deque<ImageEntry> m_lockedRows;
};

std::vector<std::string> SiteWriter::Digests() const {
    std::vector<std::string> digests(m_site.albums.size());
    // An empty tag stands for its default, whichever front end left it empty.
    TagSet filled = m_tags;
    filled.FillEmptyWithDefaults();
    std::string tags;
    for (const std::string* tag :
         {&filled.description, &filled.keywords, &filled.alt, &filled.border, &filled.width,
          &filled.height, &filled.imageTitle, &filled.imagePath})
        tags.append(*tag).push_back('\0');
    for (size_t index = m_site.albums.size(); index-- > 0;) {
        const SiteAlbum& album = m_site.albums[index];
        std::string inputs = "1\n" + album.templateText + '\0' + album.overviewText + '\0' + tags;
        AppendWebSettings(inputs, album.web);
        inputs += '\0' + album.folder + '\0' + std::to_string(m_wantDates) + '\0';
        for (int above = static_cast<int>(index); above >= 0; above = m_site.albums[above].parent)
            inputs.append(TitleOf(m_site.albums[static_cast<size_t>(above)])).push_back('\0');
        for (const ImageEntry* row : album.slides) {
            AppendRow(inputs, *row);
            inputs.append(FileState(m_ops, row->imagePath)).push_back('\n');
        }
        for (const size_t inner : album.albums) {
            if (m_private->LeftOut(inner)) continue;
            AppendRow(inputs, *m_site.albums[inner].row);
            inputs.append(digests[inner]).push_back('\n');
        }
        // A new key seals the album into another folder, which the overview above links to.
        if (m_private->IsLock(index) && !m_private->LeftOut(index))
            inputs.append(m_private->LockFor(index).name).push_back('\n');
        digests[index] = Digest(inputs);
    }
    return digests;
}

AlbumTile SiteWriter::LockedTile(size_t index) {
    const SiteAlbum& album = m_site.albums[index];
    ImageEntry& row = m_lockedRows.emplace_back();
    row.title = album.web.titleShown ? album.row->title : std::string("Private album");
    AlbumTile tile;
    tile.entry = &row;
    tile.page = m_private->LockFor(index).name + "/" + std::string(kHomeStubName);
    tile.locked = true;
    return tile;
}

SitePlace SiteWriter::PlaceOf(size_t index) {
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
        if (m_private->LeftOut(inner)) continue;
        if (m_private->IsLock(inner)) {
            place.albums.push_back(LockedTile(inner));
            continue;
        }
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
          std::pair{&total.kept, &part.kept}, std::pair{&total.passed, &part.passed}})
        into->insert(into->end(), from->begin(), from->end());
    total.failure = std::move(part.failure);
    total.removalsFailed += part.removalsFailed;
}

// Whether every file was sealed; those that were not are among the failures.
bool AddSeal(PageSetResult& total, SealResult part) {
    const bool whole = part.failures.size() == static_cast<size_t>(part.removalsFailed);
    for (auto [into, from] :
         {std::pair{&total.failures, &part.failures}, std::pair{&total.removed, &part.removed},
          std::pair{&total.kept, &part.kept}})
        into->insert(into->end(), from->begin(), from->end());
    total.removalsFailed += part.removalsFailed;
    return whole;
}

bool SiteWriter::Unchanged(size_t index, const std::string& digest, SiteResult& result) {
    const SiteAlbum& album = m_site.albums[index];
    const auto made = m_record.albums.find(album.folder);
    // The top's folder holds the record itself, which changes it with every run.
    if (index == 0 || made == m_record.albums.end() || made->second.sealed ||
        made->second.digest != digest || made->second.project != RecordKey(album.projectFile) ||
        made->second.stamp != FolderStamp(m_ops, m_output + album.folder))
        return false;
    m_summaries[index] = made->second.summary;
    m_made.albums[album.folder] = made->second;
    const int slides = static_cast<int>(album.slides.size());
    result.pages.pages += slides + 1;
    result.pages.pagesWritten += slides + 1;
    result.pages.images += slides;
    result.pages.clips += made->second.summary.clips;
    for (const size_t inner : album.albums) result.pages.clips -= m_summaries[inner].clips;
    ++result.albums;
    return true;
}

bool SiteWriter::SealUnchanged(size_t lock) const {
    const AlbumLock& opened = m_private->LockFor(lock);
    const auto made = m_record.albums.find(opened.target);
    return lock != 0 && made != m_record.albums.end() && made->second.sealed &&
           made->second.project == RecordKey(m_site.albums[lock].projectFile) &&
           made->second.digest == m_sealDigests.at(lock) &&
           made->second.stamp == FolderStamp(m_ops, m_output + opened.target);
}

void SiteWriter::CountUnchanged(size_t index, SiteResult& result) const {
    const SiteAlbum& album = m_site.albums[index];
    const int slides = static_cast<int>(album.slides.size());
    result.pages.pages += slides + 1;
    result.pages.pagesWritten += slides + 1;
    result.pages.images += slides;
    result.pages.clips += static_cast<int>(std::count_if(
        album.slides.begin(), album.slides.end(),
        [](const ImageEntry* row) { return SlideKindOf(row->imagePath) == SlideKind::Clip; }));
    ++result.albums;
}

bool SiteWriter::WriteAlbum(size_t index, const std::string& digest, SiteResult& result) {
    const SiteAlbum& album = m_site.albums[index];
    const bool sealed = m_private->Sealed(index);
    const std::string root = m_private->Root(index);
    const std::string folderIn = m_private->FolderIn(index);
    const std::string folder = root + folderIn;
    // The site's folders are its own: one a link put in an album's place, or in the place of a
    // folder above it, could lead anywhere.
    if (!NoLinkBelow(m_ops, root, folderIn)) {
        result.skipped.push_back(album.projectFile + ": not written, " + folder +
                                 " is reached through a link, not the album's own folder");
        if (sealed) m_sealsFailed.insert(m_private->LockIndex(index));
        return true;
    }
    if (!sealed && m_record.OthersHold(album.folder)) {
        result.skipped.push_back(album.projectFile + ": not written, " + folder +
                                 " holds an album of another site made into the same folder");
        return true;
    }
    // Albums are made before the ones that hold them, whose folders may not be there yet.
    for (size_t slash = folderIn.find('/'); slash != std::string::npos;
         slash = folderIn.find('/', slash + 1))
        m_ops.MakeFolder(root + folderIn.substr(0, slash));
    const SitePlace place = PlaceOf(index);
    const WebShow web{album.web,
                      album.overviewText,
                      m_tools.images,
                      m_tools.onImage,
                      0,
                      m_tools.photos,
                      m_tools.clips,
                      m_tools.onClip,
                      album.projectFile,
                      album.templateFile,
                      &place,
                      m_tools.placesFile,
                      {}};
    PageSetMemory* memory = index == 0 && !sealed ? m_tools.memory : nullptr;
    PageSetResult pages = WritePageSet(m_ops, album.slides, album.templateText, m_tags, folder,
                                       m_tools.onPage, memory, &web);
    AlbumSummary summary = std::move(pages.album);
    summary.home = pages.firstPage;
    for (const size_t inner : album.albums) {
        // Nothing of a private album shows above it: no cover, count or day.
        if (m_private->LeftOut(inner) || m_private->IsLock(inner)) continue;
        TakeIn(summary, m_summaries[inner],
               m_site.albums[inner].folder.substr(album.folder.size()));
    }
    m_summaries[index] = summary;
    if (index == 0) result.pages.firstPage = pages.firstPage;
    const bool stopped = pages.stopped;
    const bool clean = !stopped && pages.pagesFailed == 0 && pages.imagesFailed == 0 &&
                       pages.removalsFailed == 0 && pages.failure.empty();
    if (!sealed) {
        m_made.albums[album.folder] = {RecordKey(album.projectFile), clean ? digest : std::string(),
                                       clean ? FolderStamp(m_ops, folder) : std::string(),
                                       std::move(summary)};
    } else {
        if (!clean) m_sealsFailed.insert(m_private->LockIndex(index));
        if (m_private->IsLock(index)) m_sealHomes[index] = pages.firstPage;
    }
    Add(result.pages, std::move(pages));
    ++result.albums;
    return !stopped;
}

void SiteWriter::Seal(size_t lock, SiteResult& result) {
    const SiteAlbum& album = m_site.albums[lock];
    const AlbumLock& opened = m_private->LockFor(lock);
    if (!NoLinkBelow(m_ops, m_output, opened.target)) {
        result.skipped.push_back(album.projectFile + ": not written, " + m_output + opened.target +
                                 " is reached through a link, not the album's own folder");
        return;
    }
    for (size_t slash = opened.target.find('/'); slash != std::string::npos;
         slash = opened.target.find('/', slash + 1))
        m_ops.MakeFolder(m_output + opened.target.substr(0, slash));
    // Any other folder of the staging folder is an album's taken out of the lock; while an album
    // is left out for now, its folder may be among them.
    if (m_site.skippedProjects.empty()) {
        std::set<std::string> kept;
        for (size_t index = 0; index < m_site.albums.size(); ++index) {
            if (!m_private->Sealed(index) || m_private->LockIndex(index) != lock) continue;
            kept.insert(m_private->FolderIn(index));
            kept.insert(m_private->FolderIn(index) + std::string(kThumbnailFolder));
        }
        RemoveFoldersBut(m_ops, opened.staging, kept);
    }
    SealResult sealed = SealAlbum(m_ops, *m_tools.cipher,
                                  {opened.staging, m_output + opened.target, m_sealHomes[lock],
                                   opened.secret.key, opened.secret.password, opened.keyFileOpens});
    const bool clean = sealed.failures.empty() && !m_sealsFailed.contains(lock);
    if (!AddSeal(result.pages, std::move(sealed)))
        result.skipped.push_back(album.projectFile + ": sealed only in part, as said above");
    MadeAlbum made{RecordKey(album.projectFile), {}, {}, {}, true};
    if (clean) {
        made.digest = m_sealDigests.at(lock);
        made.stamp = FolderStamp(m_ops, m_output + opened.target);
        if (m_tools.onSecret) m_tools.onSecret(album.projectFile, opened.secret);
    }
    m_made.albums[opened.target] = std::move(made);
    if (lock == 0) result.pages.firstPage = kHomeStubName;
}

void SiteWriter::KeepSealed(size_t lock) {
    const AlbumLock& opened = m_private->LockFor(lock);
    m_made.albums[opened.target] = m_record.albums.at(opened.target);
    if (m_tools.onSecret) m_tools.onSecret(m_site.albums[lock].projectFile, opened.secret);
}

bool SiteWriter::LeftOut(const std::string& folder) const {
    if (m_leftOut.empty()) return false;
    return std::any_of(m_record.albums.begin(), m_record.albums.end(), [&](const auto& made) {
        return !made.first.empty() && folder.starts_with(made.first) &&
               m_leftOut.contains(made.second.project);
    });
}

void SiteWriter::RemoveSealed(const std::string& folder, const MadeAlbum& album, bool keptElsewhere,
                              SiteResult& result) {
    const std::string path = m_output + folder;
    // Without a cache folder there is no record of what was sealed, and nothing is removed.
    if (!m_private->Cache().empty()) {
        const std::string staging = StagingFolder(m_private->Cache(), m_output, album.project);
        const bool ours = m_private->Locks(album.project);
        // A run sealing the album now would lose its staging folder, and its turn with it.
        const int turn = ours ? -1 : TakeStagingTurn(m_ops, staging);
        if (!ours && turn < 0 && errno == EWOULDBLOCK) {
            m_made.albums[folder] = album;
            result.pages.kept.push_back(path + ": kept, another run is making its album now");
            return;
        }
        SealResult gone = UnsealAlbum(m_ops, staging, path);
        // The album unsealed stays nowhere once it is no private album of the site; what was
        // kept, having changed, is the user's now.
        if (!ours && gone.failures.empty()) RemoveStagingFolder(m_ops, staging);
        if (turn >= 0) m_ops.Close(turn);
        AddSeal(result.pages, std::move(gone));
    }
    if (folder.empty() || keptElsewhere) return;
    if (m_ops.RemoveFolder(path) != 0) m_made.albums[folder] = {album.project, "", "", {}, true};
}

void SiteWriter::RemoveTakenOut(SiteResult& result) {
    // The deepest first, so that a folder is empty by the time the one that holds it goes.
    for (auto made = m_record.albums.rbegin(); made != m_record.albums.rend(); ++made) {
        const auto& [folder, album] = *made;
        const auto kept = m_made.albums.find(folder);
        if (folder.empty() ||
            (kept != m_made.albums.end() && kept->second.project == album.project))
            continue;
        const std::string path = m_output + folder;
        // An album left out this time, its project unreadable for now, is no album taken out, nor
        // is any below it.
        if (LeftOut(folder)) {
            m_made.albums.try_emplace(folder, album);
            result.pages.kept.push_back(path + ": kept, its album was left out");
            continue;
        }
        // Nothing reached through a link is the site's to remove.
        if (!NoLinkBelow(m_ops, m_output, folder) || !IsFolder(m_ops, path)) continue;
        if (album.sealed) {
            RemoveSealed(folder, album, kept != m_made.albums.end(), result);
            continue;
        }
        WebShow gone;
        gone.recordKey = album.project;
        gone.placesFile = m_tools.placesFile;
        PageSetResult removed = WritePageSet(m_ops, {}, "", m_tags, path, {}, nullptr, &gone);
        if (kept == m_made.albums.end() && removed.removalsFailed == 0) {
            m_ops.Unlink(path + std::string(MadeFiles::kFileName));
            m_ops.RemoveFolder(path + std::string(kThumbnailFolder));
            if (m_ops.RemoveFolder(path) != 0) m_made.albums[folder] = {album.project, "", "", {}};
        }
        Add(result.pages, std::move(removed));
    }
}

void SiteWriter::SettleTop(SiteResult& result) {
    const SiteAlbum& top = m_site.albums.front();
    const auto last = m_record.albums.find("");
    if (!m_private->Sealed(0)) {
        if (last != m_record.albums.end() && last->second.sealed)
            RemoveSealed("", last->second, true, result);
        return;
    }
    // What the top made public, the sealed files now stand for.
    WebShow gone;
    gone.recordKey = RecordKey(top.projectFile);
    gone.placesFile = m_tools.placesFile;
    Add(result.pages, WritePageSet(m_ops, {}, "", m_tags, m_output, {}, nullptr, &gone));
    // A record of nothing would be all that is left of the pages.
    const std::string record = m_output + std::string(MadeFiles::kFileName);
    struct stat info {};
    if (m_ops.Lstat(record, info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0)
        m_ops.Unlink(record);
}

SiteResult SiteWriter::Write() {
    SiteResult result;
    result.skipped = m_site.skipped;
    const std::string site = RecordKey(m_site.albums.front().projectFile);
    m_record.Read(m_ops, m_output, site);
    std::set<std::string> folders;
    for (const SiteAlbum& album : m_site.albums) folders.insert(album.folder);
    ProjectPlaces places(m_ops, m_tools.placesFile);
    m_record.AdoptGone([&places](const std::string& key) { return places.Gone(key); }, folders);
    m_made = m_record;
    m_made.albums.clear();
    for (const std::string& project : m_site.skippedProjects) m_leftOut.insert(RecordKey(project));
    m_private = std::make_unique<PrivateAlbums>(m_ops, m_site, m_output, m_tools, m_record,
                                                result.skipped, result.pages.kept);
    for (size_t index = 0; index < m_site.albums.size(); ++index) {
        if (m_private->IsLock(index) && m_private->LeftOut(index))
            m_leftOut.insert(RecordKey(m_site.albums[index].projectFile));
    }
    const std::vector<std::string> digests = Digests();
    for (size_t index = 0; index < m_site.albums.size(); ++index) {
        if (!m_private->IsLock(index) || m_private->LeftOut(index)) continue;
        m_sealDigests[index] = m_private->RecordedDigest(*m_tools.cipher, index, digests[index]);
        if (SealUnchanged(index)) m_sealsUnchanged.insert(index);
    }
    const int count = static_cast<int>(m_site.albums.size());
    // Every album stands after the one that holds it, so from the last back each is made before
    // its parent.
    for (size_t index = m_site.albums.size(); index-- > 0;) {
        const int slides = static_cast<int>(m_site.albums[index].slides.size());
        if (m_tools.onAlbum && !m_tools.onAlbum(count - static_cast<int>(index), count, slides)) {
            result.pages.stopped = true;
            break;
        }
        if (m_private->LeftOut(index)) continue;
        if (m_private->Sealed(index)) {
            if (m_sealsUnchanged.contains(m_private->LockIndex(index))) {
                CountUnchanged(index, result);
                if (m_private->IsLock(index)) KeepSealed(index);
                continue;
            }
        } else if (Unchanged(index, digests[index], result)) {
            continue;
        }
        if (!WriteAlbum(index, digests[index], result)) break;
        if (m_private->IsLock(index)) Seal(index, result);
    }
    // A private top left out leaves the whole site as it was.
    if (!result.pages.stopped && !m_private->LeftOut(0)) {
        RemoveTakenOut(result);
        SettleTop(result);
    } else {
        for (const auto& [folder, album] : m_record.albums)
            m_made.albums.try_emplace(folder, album);
    }
    if (!m_made.Write(m_ops, m_output)) {
        std::string line = m_output;
        line.append(SiteRecord::kFileName).append(": could not be written: ");
        result.pages.failures.push_back(line + ErrorText(errno));
    }
    return result;
}

}  // namespace

SiteResult WriteSite(FileOps& ops, const Site& site, const TagSet& tags,
                     const std::string& outputFolder, const SiteTools& tools) {
    return SiteWriter(ops, site, tags, outputFolder, tools).Write();
}

}  // namespace vistello
