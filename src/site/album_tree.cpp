#include "site/album_tree.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <utility>

#include "files/error_text.h"
#include "files/text_file.h"
#include "files/unique_names.h"
#include "generator/page_names.h"
#include "output/owned_files.h"
#include "pictures/web_images.h"
#include "project/project_file.h"
#include "show/template_file.h"
#include "site/site_record.h"
#include "slides/slide_kind.h"

namespace vistello {

namespace {

// A folder's name from an album's title by the page-name rule, with no dot in it, so that it
// never is a page's, an image's or one of the program's own files' name.
std::string FolderStem(std::string_view title) {
    std::string name = PageFileName(title);
    name.resize(name.size() - std::string_view(".htm").size());
    std::replace(name.begin(), name.end(), '.', '_');
    return name;
}

// Whether an album's settings say anything of web copies, beyond the overview and the cover,
// which it takes one by one, a site's title, which is the top's alone, and whether it is private,
// which is each album's own.
bool SetsWebCopies(const WebSettings& web) {
    WebSettings own = web.WithoutCover();
    own.overviewTemplate.clear();
    own.siteTitle.clear();
    own.publish.clear();
    own.locked = false;
    own.titleShown = false;
    return !(own == WebSettings{});
}

class SiteLoader {
public:
    SiteLoader(FileOps& ops, Site& site) : m_ops(ops), m_site(site) {}

    // Nothing, or the line that refuses the site.
    std::optional<std::string> Load(size_t index, std::vector<std::string>& chain);

private:
    std::optional<std::string> Template(const std::string& path);
    std::optional<std::string> AddAlbum(size_t parent, const ImageEntry& row, UniqueNames& names,
                                        std::vector<std::string>& chain);
    // Why the album cannot be made, or nothing when it is ready.
    std::optional<std::string> Prepare(SiteAlbum& album, const SiteAlbum& parent,
                                       std::string_view text);

    FileOps& m_ops;
    Site& m_site;
    std::map<std::string, std::optional<std::string>> m_templates;
};

std::optional<std::string> SiteLoader::Template(const std::string& path) {
    const auto [place, added] = m_templates.try_emplace(path);
    if (added) place->second = ReadTextFile(m_ops, path);
    return place->second;
}

std::string LoopLine(const std::vector<std::string>& chain, const std::string& key) {
    std::string line = "the album " + key + " holds itself: ";
    const auto start = std::find(chain.begin(), chain.end(), key);
    for (auto link = start; link != chain.end(); ++link) line += *link + " → ";
    return line + key;
}

std::optional<std::string> SiteLoader::Prepare(SiteAlbum& album, const SiteAlbum& parent,
                                               std::string_view text) {
    if (!HoldsProject(text)) return "not a project";
    ProjectFields fields;
    std::vector<std::unique_ptr<ImageEntry>> entries = ParseProjectText(text, fields);
    std::reverse(entries.begin(), entries.end());
    album.entries = std::move(entries);
    album.templateFile = fields.templateFile.empty() ? parent.templateFile
                                                     : TemplateFileOrDefault(fields.templateFile);
    album.web = SetsWebCopies(fields.web) ? fields.web : parent.web;
    album.web.cover = fields.web.cover;
    // An album's overview takes the album's title, so that a new site title remakes only the top.
    album.web.siteTitle.clear();
    album.web.publish.clear();
    // Whether an album is private is its own choice: an album inside a private one is sealed
    // with it all the same.
    album.web.locked = fields.web.locked;
    album.web.titleShown = fields.web.titleShown;
    album.web.overviewTemplate = fields.web.overviewTemplate.empty() ? parent.web.overviewTemplate
                                                                     : fields.web.overviewTemplate;
    const std::optional<std::string> page = Template(album.templateFile);
    if (!page) return "cannot read the template " + album.templateFile;
    const std::optional<std::string> overview = Template(album.web.overviewTemplate);
    if (!overview) return "cannot read the overview page template " + album.web.overviewTemplate;
    album.templateText = *page;
    album.overviewText = *overview;
    return std::nullopt;
}

std::optional<std::string> SiteLoader::AddAlbum(size_t parent, const ImageEntry& row,
                                                UniqueNames& names,
                                                std::vector<std::string>& chain) {
    const std::string key = ProjectKey(row.imagePath);
    if (std::find(chain.begin(), chain.end(), key) != chain.end()) return LoopLine(chain, key);
    if (m_site.albums[parent].depth + 1 > kMaxAlbumDepth) {
        m_site.skippedProjects.push_back(row.imagePath);
        m_site.skipped.push_back(row.imagePath + ": albums nest deeper than " +
                                 std::to_string(kMaxAlbumDepth) + " levels");
        return std::nullopt;
    }
    if (m_site.albums.size() > kMaxAlbums) {
        m_site.skippedProjects.push_back(row.imagePath);
        m_site.skipped.push_back(row.imagePath + ": the site holds more than " +
                                 std::to_string(kMaxAlbums) + " albums");
        return std::nullopt;
    }
    const std::optional<std::string> text = ReadLineFile(m_ops, row.imagePath);
    if (!text) {
        m_site.skipped.push_back(row.imagePath + ": cannot be read: " + ErrorText(errno));
        m_site.skippedProjects.push_back(row.imagePath);
        return std::nullopt;
    }
    SiteAlbum album;
    album.projectFile = row.imagePath;
    album.row = &row;
    album.parent = static_cast<int>(parent);
    album.depth = m_site.albums[parent].depth + 1;
    if (std::optional<std::string> why = Prepare(album, m_site.albums[parent], *text)) {
        m_site.skippedProjects.push_back(row.imagePath);
        m_site.skipped.push_back(row.imagePath + ": " + *why);
        return std::nullopt;
    }
    album.folder = m_site.albums[parent].folder + names.Claim(FolderStem(row.title), "") + "/";
    const size_t index = m_site.albums.size();
    m_site.albums[parent].albums.push_back(index);
    m_site.albums.push_back(std::move(album));
    chain.push_back(key);
    std::optional<std::string> refusal = Load(index, chain);
    chain.pop_back();
    return refusal;
}

std::optional<std::string> SiteLoader::Load(size_t index, std::vector<std::string>& chain) {
    UniqueNames names;
    names.Take(kThumbnailFolder.substr(0, kThumbnailFolder.size() - 1));
    std::vector<const ImageEntry*> rows;
    if (index == 0) {
        rows = m_site.albums[0].slides;
        m_site.albums[0].slides.clear();
    } else {
        for (const auto& entry : m_site.albums[index].entries) rows.push_back(entry.get());
    }
    for (const ImageEntry* row : rows) {
        if (SlideKindOf(row->imagePath) != SlideKind::Album) {
            m_site.albums[index].slides.push_back(row);
        } else if (std::optional<std::string> refusal = AddAlbum(index, *row, names, chain)) {
            return refusal;
        }
    }
    return std::nullopt;
}

}  // namespace

bool HoldsAlbums(std::span<const ImageEntry* const> rows) {
    return std::any_of(rows.begin(), rows.end(), [](const ImageEntry* row) {
        return SlideKindOf(row->imagePath) == SlideKind::Album;
    });
}

bool IsMadeAsSite(FileOps& ops, const GenerateRequest& request, const std::string& topProject) {
    if (request.web.locked || HoldsAlbums(request.rows)) return true;
    SiteRecord record;
    record.Read(ops, request.outputFolder, RecordKey(topProject));
    const auto top = record.albums.find("");
    return top != record.albums.end() && top->second.sealed;
}

bool HoldsPrivate(const Site& site) {
    return std::any_of(site.albums.begin(), site.albums.end(),
                       [](const SiteAlbum& album) { return album.web.locked; });
}

std::variant<Site, std::string> LoadSite(FileOps& ops, const GenerateRequest& top,
                                         const std::string& topProject) {
    if (top.overviewText.empty() && top.web.overviewTemplate.empty() && HoldsAlbums(top.rows))
        return std::string("albums are shown on overview pages: choose an overview page template");
    Site site;
    SiteAlbum& root = site.albums.emplace_back();
    root.projectFile = topProject;
    root.templateFile = top.templateFile;
    root.templateText = top.templateText;
    root.overviewText = top.overviewText;
    root.web = top.web;
    root.slides = top.rows;
    std::vector<std::string> chain = {ProjectKey(topProject)};
    SiteLoader loader(ops, site);
    if (std::optional<std::string> refusal = loader.Load(0, chain)) return *refusal;
    return site;
}

}  // namespace vistello
