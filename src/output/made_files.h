#pragma once

#include <sys/stat.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/file_ops.h"
#include "media/image_maker.h"
#include "media/shooting_data.h"
#include "output/owned_files.h"

namespace vistello {

// What earlier runs made of the pictures and clips in an output folder, and which project wrote
// which file there, kept in a file beside the pages (sources and projects named by their digests
// only, since the folder is published; what photos say is kept in memory only), so that any later
// run, from the window or the command line, remakes only what changed: a file whose source, recipe
// and result are as they were is not made again, and a source as it was is not examined again. A
// source counts as changed when its size or modification time did.
class MadeFiles {
public:
    static constexpr std::string_view kFileName = ".vistello-images";

    // What the folder's file says; a file that is missing or unreadable says nothing.
    void Read(FileOps& ops, const std::string& folder);
    [[nodiscard]] bool Write(FileOps& ops, const std::string& folder) const;

    std::optional<ImageFacts> FactsOf(const std::string& source, const struct stat& now) const;
    void NoteFacts(const std::string& source, const struct stat& now, ImageFacts facts);

    // What the photo says of how it was taken, as read when it had its present size and time.
    std::optional<ShootingData> ShootingOf(const std::string& source, const struct stat& now) const;
    void NoteShooting(const std::string& source, const struct stat& now, ShootingData data);
    // Forgets what photos not among `sources` said.
    void KeepShootingOf(const std::vector<std::string>& sources);

    // From now on the pixel sizes of sources and made files are kept too.
    void KeepSizes() { m_keepSizes = true; }
    // For another run, as if read anew from the file this one wrote.
    void StartAgain() { m_keepSizes = false; }
    // Whether every file of the job is in the folder as it was made from the source as it is,
    // by the same recipe, and, where `sized`, with its pixel size known. job.target is relative
    // to the folder.
    bool Holds(FileOps& ops, const std::string& folder, const ImageJob& job,
               const struct stat& source, bool sized) const;
    void NoteMade(FileOps& ops, const std::string& folder, const ImageJob& job,
                  const struct stat& source, const MadeImage& image);
    // The pixel size of a made file, when known: {0, 0} otherwise.
    std::pair<int, int> SizeOf(const std::string& target) const;

    // The same for one file made by another recipe than an image job's.
    bool HoldsFile(FileOps& ops, const std::string& folder, const std::string& target,
                   const std::string& recipe, const std::string& source,
                   const struct stat& sourceInfo, bool sized) const;
    void NoteFile(FileOps& ops, const std::string& folder, const std::string& target,
                  std::string recipe, const std::string& source, const struct stat& sourceInfo,
                  int width, int height);
    // The files made of any of these sources, by the record.
    std::vector<std::string> FilesMadeOf(const std::set<std::string, std::less<>>& sources) const;
    // Forgets every image the jobs no longer name, every other file not among `files`, and every
    // source no longer among `sources`; their files stay where they are.
    void KeepOnly(const std::vector<const ImageJob*>& jobs, const std::vector<std::string>& sources,
                  const std::vector<std::string>& files = {});
    // Whether the made file, as it stands now, is the one the record says was made.
    bool AsMade(const std::string& target, const struct stat& now) const;

    // Which project wrote which files into the folder.
    OwnedFiles& Owned() { return m_owned; }

    // From now on, names are handed out for the project's run (see Taken).
    void StartRunOf(std::string project) {
        m_project = std::move(project);
        m_taken.clear();
    }
    // Whether the run may not write at `name` (from the folder): a file is there that no run of
    // the project wrote, nor a run that left it unowned, nor, with a source, a copy or picture of
    // that very source. A folder whose record names no project's files (a first run, or a show an
    // earlier version made) keeps its names: nothing is taken there. A name taken is remembered.
    bool Taken(FileOps& ops, const std::string& folder, const std::string& name,
               const std::string* source = nullptr) const;
    // Whether the made file was made of one of these sources, by their digests.
    bool MadeOfAny(const std::string& target, const std::set<std::string>& sourceKeys) const;
    // The names found taken, each once, in order.
    const std::vector<std::string>& TakenNames() const { return m_taken; }
    // What runs of projects other than `project` noted in the folder since this record was read:
    // their files and what was made of them, so that two runs into one folder at once keep each
    // other's. Without a project, every project's.
    void TakeOthersFrom(const MadeFiles& fresh, const std::string& project);

private:
    struct Source {
        off_t size = 0;
        struct timespec mtime {};
        ImageFacts facts;
    };
    struct Shot {
        off_t size = 0;
        struct timespec mtime {};
        ShootingData data;
    };
    struct Made {
        std::string source;
        off_t size = 0;
        struct timespec mtime {};
        std::string recipe;
        off_t targetSize = 0;
        struct timespec targetMtime {};
        int width = 0;
        int height = 0;
    };

    void ReadLine(const std::vector<std::string_view>& fields);

    bool MadeOf(const std::string& target, const std::string& source) const;

    bool m_keepSizes = false;
    std::string m_project;
    mutable std::vector<std::string> m_taken;
    std::map<std::string, Source> m_sources;
    std::map<std::string, Made> m_made;
    std::map<std::string, Shot> m_shots;
    OwnedFiles m_owned;
};

}  // namespace vistello
