#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "files/file_ops.h"
#include "files/file_stamp.h"
#include "framework/dialog.h"
#include "framework/file_picker.h"
#include "generator/generate_request.h"
#include "generator/page_set.h"
#include "media/image_maker.h"
#include "media/photo_reader.h"
#include "media/publish_link.h"
#include "prefs/tag_set.h"
#include "project/private_lines.h"
#include "show/web_settings.h"
#include "site/site_writer.h"
#include "slides/entry_list.h"
#include "slides/folder_import.h"
#include "ui/entry_list_view.h"
#include "ui/pictures_pane.h"
#include "ui/thumbnail_service.h"

namespace vistello {

// The one window: project settings, the page fields of the entry being edited, the list of
// entries and the commands. It owns all of the program's state.
class CMainDialog : public CDialog {
public:
    CMainDialog();

    bool OnInitDialog() override;
    void OnDestroy() override;

    // Every file the window reads or writes goes through ops from now on.
    void UseFileOps(FileOps& ops) {
        m_files = &ops;
        m_pictures.UseFileOps(ops);
    }
    // Photos' own details are read with this reader from now on.
    void UsePhotoReader(PhotoReader& photos) { m_photos = &photos; }
    // Web copies and thumbnails are made with this library from now on.
    void UseImageMaker(ImageMaker& images) { m_images = &images; }
    void UseClipMaker(ClipMaker& clips) { m_clips = &clips; }
    // The Pictures window shows the thumbnails these give, from now on.
    void UseThumbnails(ThumbnailService& thumbnails) { m_pictures.UseThumbnails(thumbnails); }
    void UsePlacesFile(std::string file) { m_placesFile = std::move(file); }
    // Private albums are sealed with the cipher this loads from now on.
    void UseAlbumCipher(CipherLoader load) { m_loadCipher = std::move(load); }
    // Sites are published through link from now on, with this machine's ssh folder, agent and
    // certificates in `machine` and its records of what went where in `manifestFolder`.
    void UsePublishLink(PublishLink& link, ServerAccess machine, std::string manifestFolder) {
        m_publishLink = &link;
        m_publishMachine = std::move(machine);
        m_manifestFolder = std::move(manifestFolder);
    }

    // List operations shared by the commands.
    void SetupListColumns();
    void AutoSizeColumns();
    void LoadRowIntoFields(int row);
    void RefreshEntryCount();

    // The project file.
    void ReadProjectFile();
    // False, after telling the user, when the file could not be written.
    bool WriteProjectFile();

    // The preferences file.
    void LoadPreferences();
    void SavePreferences();

    // What tests and benchmarks set up and look at directly; the window itself never needs it.
    struct State {
        EntryList& slides;
        EntryListView& shown;
        TagSet& tags;
        WebSettings& web;
        PicturesPane& pictures;
    };
    State Inside() { return {m_listEntries, m_listView, m_tags, m_web, m_pictures}; }

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnEndSession() override;
    void OnHandled() override;

private:
    // Entry editing.
    void OnAdd();
    bool IsTitleInList();
    void OnUpdate();
    void OnRemove();
    void OnClearFields();
    void OnClearList();
    void OnMenuClearList();
    int OnClickList(const Notification& notification);

    // List ordering.
    int OnColumnClick(const Notification& notification);
    void SortByColumn(int column);
    void OnMoveUp();
    void OnMoveDown();
    // Each photo is read for when it was taken, the count shown; Cancel leaves the order.
    void OnSortByDateTaken();
    // A photo read before and unchanged since is not read again.
    std::optional<TakenAt> TakenAtOf(const std::string& path);
    void MoveSelectedBy(int step);
    int OnRowDragged(const Notification& notification);

    // The Pictures window: what is done in its grid is done to the list, as the list's own
    // commands do it.
    void OnShowPictures();
    void OpenPictures();
    int OnGridSelected(const Notification& notification);
    int OnTilesDragged(const Notification& notification);
    int OnGridKey(const Notification& notification);
    int OnDoubleClickGrid(const Notification& notification);
    // The marked clip plays in the desktop's player.
    void OnPlayClip();

    // Generation.
    void OnGenerate();
    void ShowRefusal(GenerateRefusal refusal);
    // Tells the user of each page that could not be written, as it fails; shows the progress,
    // and stops after the page in hand when the user cancels. With a site, makes every album.
    SiteResult GeneratePages(const GenerateRequest& request, const Site* site);
    void ShowUnwrittenPage(int row);

    // Publishing: the site goes to the address the project keeps.
    void OnPublish();

    // Project commands.
    void OnNewProject();
    void OnFileSave();
    void OnFileOpen();
    void OnFileSaveAs();
    void OnImportDirectory();
    // Adds the images at row `at` (the top for -1), each filled from its photo, and reports under
    // caption what was added and skipped; Cancel while the photos are read adds nothing.
    void AddImages(const NewImages& images, const std::string& caption, int at = -1);
    std::unordered_set<std::string> ListedImages() const { return ListedPaths(m_listEntries); }
    void OnDropFiles(const std::vector<std::string>& paths, int at) override;
    // The way from the project the user opened down to the album open now, one step an album.
    struct AlbumStep {
        // The project the album was opened from, and the album's project as its row names it.
        std::string from;
        std::string album;
    };
    // Saves the project in hand and reads fileName in its place, reached by trail; false, and
    // nothing changed, when the project in hand could not be saved.
    bool OpenProject(const std::string& fileName, std::vector<AlbumStep> trail = {});
    bool IsProjectAt(const std::string& path);
    void OnFillFromPhoto();
    void ShowProjectCaption(bool madeByNewProject);
    std::string AlbumTrailCaption() const;
    // The project the user opened, whichever album of it is open.
    std::string TopProjectFile() const;
    bool WriteProjectTo(const std::string& fileName, bool keepOtherVersion);
    bool ChangedElsewhere(const std::string& fileName);

    // Albums.
    void OnImportFolderTree();
    void OnOpenAlbum();
    int OnDoubleClickList(const Notification& notification);
    // By value: the row that names the album goes as the album opens.
    void OpenAlbum(std::string album);
    void OnCloseAlbum();
    void OnUseAsCover();

    // Private albums (main_dialog_private.cpp).
    struct PrivacyTarget {
        std::string projectFile;
        std::string title;
        // The project open in the window, whose settings change rather than its file.
        bool open = false;
    };
    std::optional<PrivacyTarget> ChoosePrivacyTarget(const char* caption);
    void OnMakeAlbumPrivate();
    void OnMakeAlbumPublic();
    std::optional<Privacy> PrivacyOfTarget(const PrivacyTarget& target, const char* caption);
    bool SetPrivacy(const PrivacyTarget& target, Privacy privacy, const char* caption);
    void KeepAlbumPassword(const PrivacyTarget& target, const std::string& password);
    // The desktop's keyring, or none when the program has no network module.
    Keyring* AlbumKeyring() const;
    // Goes back up to the project the user opened; false when an album on the way stays open.
    bool CloseAlbumsToTop();

    // Preferences.
    void OnPreferences();
    void OnMenuPreferences();
    void OnWebImages();

    // Pickers and the manual.
    void OnBrowseImage();
    void OnBrowseTemplate();
    void OnBrowseOutputFolder();
    void OnHelpManual();
    void OnHelpMoreInfo();
    void OnHelpUninstall();

    void OnQuit();
    void OnHelpAbout();

    FileOps& Files() const { return *m_files; }
    PhotoReader& Photos() const { return *m_photos; }
    ImageMaker& Images() const { return *m_images; }
    void MapCommands();
    void PickFileInto(FilePickerOptions options, int control, std::string& field);
    std::optional<std::string> PickProjectFile(bool forSaving);
    void OpenManual(const std::string& section);
    std::string ProjectFileName() const;
    ImageEntry PageFields() const;
    void SetPageFields(const ImageEntry& entry);

    // As the preferences file says it; exactly "yes" is on.
    std::string m_strToolTips = "yes";
    TagSet m_tags;
    std::string m_strProjectFile;
    std::vector<AlbumStep> m_albumTrail;
    EntryList m_listEntries;
    EntryListView m_listView{m_listEntries};
    PicturesPane m_pictures{m_listEntries, m_listView};
    std::string m_strAlt;
    std::string m_strDescription;
    std::string m_strImagePath;
    std::string m_strTitle;
    std::string m_strKeywords;
    std::string m_strOutputFolder;
    std::string m_strTemplate;
    std::string m_strBorder;
    std::string m_strHeight;
    std::string m_strWidth;
    int m_nEntryCount = 0;
    WebSettings m_web;
    // What imports of folder trees brought into the project (see ProjectFields::imported).
    std::vector<std::string> m_imported;
    FileOps* m_files;
    PhotoReader* m_photos;
    ImageMaker* m_images;
    // Without one, clips are copied as they are.
    ClipMaker* m_clips = nullptr;
    std::string m_placesFile;
    // Without one, private albums are left out.
    CipherLoader m_loadCipher;
    // Without one, Publish says it cannot.
    PublishLink* m_publishLink = nullptr;
    ServerAccess m_publishMachine;
    std::string m_manifestFolder;
    bool m_keyringFailureTold = false;
    // What the last Generate left in its folder, so that the next one builds only what changed.
    PageSetMemory m_generated;
    // The project file as this window last read or wrote it.
    std::optional<FileStamp> m_projectStamp;
    // When the photos were taken, as each photo's file was when it was read.
    struct KnownTime {
        FileStamp stamp;
        std::optional<TakenAt> takenAt;
    };
    std::unordered_map<std::string, KnownTime> m_takenAt;
};

}  // namespace vistello
