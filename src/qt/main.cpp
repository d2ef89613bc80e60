#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/command_line.h"
#include "app/desktop_folder.h"
#include "app/generate_command.h"
#include "app/import_command.h"
#include "app/publish_command.h"
#include "app/publish_places.h"
#include "app/slide_show_app.h"
#include "clip/ffmpeg_clip_maker.h"
#include "clip/ffprobe_clip_reader.h"
#include "crypto/cipher_module.h"
#include "files/leftovers.h"
#include "images/heif_module.h"
#include "images/image_module.h"
#include "net/publish_module.h"
#include "photo/exiv2_photo_reader.h"
#include "pictures/picture_pool.h"
#include "pictures/thumbnail_cache.h"
#include "qt/app_icon.h"
#include "qt/qt_md5.h"
#include "qt/qt_window_system.h"
#include "qt/session_end.h"
#include "slides/media_reader.h"
#include "ui/cached_thumbnails.h"

namespace {

// The folder the program itself is in, or nothing.
std::filesystem::path ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return program.parent_path();
}

// The demo workspace as installed beside the program: share/vistello/demo next to bin/.
std::string InstalledDemo() {
    const std::filesystem::path folder = ProgramFolder();
    if (folder.empty()) return {};
    return (folder.parent_path() / "share/vistello/demo").string();
}

// The image module where it is installed, else beside the program as in the build folder.
std::vector<std::string> ImageModulePlaces() {
    const std::filesystem::path folder = ProgramFolder();
    return {(folder / VISTELLO_MODULE_FROM_PROGRAM / "vistello-images.so").string(),
            (folder / "vistello-images.so").string()};
}

vistello::ImageModule ImageLibrary() { return vistello::ImageModule(ImageModulePlaces()); }

vistello::HeifModule HeifLibrary() { return vistello::HeifModule(ImageModulePlaces()); }

// The desktop starts the program in no folder of the user's choosing, so it keeps to its own.
// Why that folder cannot be entered, or nothing.
std::optional<std::string> EnterDesktopFolder() {
    const std::optional<std::string> folder =
        vistello::DesktopFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (!folder) return "There is no folder for your files: HOME is not set to an absolute path.";
    const std::optional<std::string> reason = vistello::EnterFolder(*folder, InstalledDemo());
    if (reason) return "Cannot open the folder " + *folder + ":\n" + *reason;
    return std::nullopt;
}

// Reports on the terminal, not in boxes: scripts and site builders run these.
int RunCommand(const vistello::StartOptions& options, const std::function<int()>& run) {
    if (options.desktopFolder) {
        if (const std::optional<std::string> failure = EnterDesktopFolder()) {
            std::cerr << "vistello: " << *failure << "\n";
            return EXIT_FAILURE;
        }
    }
    return run();
}

volatile sig_atomic_t g_stopAsked = 0;

// A logout, a shutdown or Ctrl+C ends a Generate as Cancel does, so that what it wrote is recorded
// and a later run can still take it away. The same signal again ends it at once; another kind does
// not, since a logout sends HUP right after TERM.
void AskStopOnSignals() {
    struct sigaction action {};
    action.sa_handler = [](int signal) {
        if (g_stopAsked == signal) {
            vistello::EndLeftoversOnSignals();
            ::raise(signal);
        }
        if (g_stopAsked == 0) g_stopAsked = signal;
    };
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

std::string PublishedFolder() {
    return vistello::PublishedFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

vistello::ServerAccess MachineAccess() {
    return vistello::MachineAccess(std::getenv("HOME"), std::getenv("SSH_AUTH_SOCK"),
                                   std::getenv("SSL_CERT_FILE"));
}

// The environment as a string, empty where it is not set.
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

int Publish(const vistello::StartOptions& options) {
    vistello::RealFileOps files;
    vistello::PublishContext context;
    context.dryRun = options.dryRun;
    context.allowRemovals = options.allowRemovals;
    context.passwordFile = options.passwordFile;
    context.hostKey = options.hostKey;
    context.manifestFolder = PublishedFolder();
    context.machine = MachineAccess();
    context.accessKey = Environment("AWS_ACCESS_KEY_ID");
    context.secretKey = Environment("AWS_SECRET_ACCESS_KEY");
    context.showProgress = ::isatty(STDERR_FILENO) != 0;
    context.stopAsked = [] { return g_stopAsked != 0; };
    AskStopOnSignals();
    return vistello::RunPublishCommand(files, vistello::ProgramPublishLink(), options.projectFile,
                                       context, std::cout, std::cerr);
}

int RunPublish(const vistello::StartOptions& options) {
    return RunCommand(options, [&options] { return Publish(options); });
}

// The desktop's keyring, through the network module, which is loaded only once a private album
// asks for its secret.
class ModuleKeyring final : public vistello::Keyring {
public:
    std::optional<std::string> Find(const std::string& key) override { return Module().Find(key); }
    bool Keep(const std::string& key, const std::string& label, const std::string& secret,
              std::string& failure) override {
        return Module().Keep(key, label, secret, failure);
    }
    void Forget(const std::string& key) override { Module().Forget(key); }

private:
    static vistello::Keyring& Module() { return vistello::ProgramPublishLink().DesktopKeyring(); }
};

int RunGenerate(const vistello::StartOptions& options) {
    return RunCommand(options, [&options] {
        vistello::RealFileOps files;
        vistello::ImageModule images = ImageLibrary();
        vistello::HeifModule heif = HeifLibrary();
        vistello::Exiv2PhotoReader stills(files, heif);
        vistello::FfprobeClipReader clips;
        vistello::MediaReader photos(stills, clips);
        vistello::FfmpegClipMaker movies;
        vistello::GenerateContext context{
            vistello::PlacesFile(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")),
            [] { return g_stopAsked != 0; }, vistello::ProgramAlbumCipher};
        ModuleKeyring keyring;
        context.keyring = &keyring;
        context.albumPasswordFile = options.albumPasswordFile;
        AskStopOnSignals();
        const int status = vistello::RunGenerateCommand(files, images, photos, movies,
                                                        options.projectFile, std::cout, std::cerr,
                                                        ::isatty(STDERR_FILENO) != 0, context);
        if (!options.publish) return status;
        // A site that could not be generated whole is not put online.
        if (status != 0) {
            std::cerr << "vistello: not published, since the site was not generated whole\n";
            return status;
        }
        return Publish(options);
    });
}

// A folder named on the command line, from where the user typed it: the desktop's folder is
// entered before the import reads it.
std::string FromHere(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

int RunImport(const vistello::StartOptions& options) {
    const std::string folder =
        options.desktopFolder ? FromHere(options.importFolder) : options.importFolder;
    return RunCommand(options, [&options, &folder] {
        vistello::RealFileOps files;
        vistello::HeifModule heif = HeifLibrary();
        vistello::Exiv2PhotoReader stills(files, heif);
        vistello::FfprobeClipReader clips;
        vistello::MediaReader photos(stills, clips);
        return vistello::RunImportCommand(files, photos, folder, options.projectFile,
                                          options.byDate, std::cout, std::cerr, options.albums);
    });
}

int RunWindow(int argc, char* argv[], const vistello::StartOptions& options) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vistello.Vistello"));
    QApplication::setWindowIcon(vistello::AppIcon());
    vistello::QtWindowSystem system;
    vistello::SessionEnd sessionEnd(system);
    if (options.desktopFolder) {
        if (const std::optional<std::string> failure = EnterDesktopFolder()) {
            system.OwnerlessMessageBox(*failure, system.AppTitle(), vistello::MsgButtons::Ok,
                                       vistello::MsgIcon::Exclamation);
            return EXIT_FAILURE;
        }
    }
    vistello::RealFileOps files;
    vistello::HeifModule heif = HeifLibrary();
    vistello::Exiv2PhotoReader stills(files, heif);
    vistello::FfprobeClipReader clips;
    vistello::MediaReader photos(stills, clips);
    vistello::ImageModule images = ImageLibrary();
    vistello::FfmpegClipMaker movies;
    const vistello::WindowPublishing publishing{vistello::ProgramPublishLink(), MachineAccess(),
                                                PublishedFolder()};
    // Without a home there is no thumbnail cache to share, and the tiles say so.
    const std::optional<std::string> cacheHome =
        vistello::CacheHome(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
    std::optional<vistello::ThumbnailCache> cache;
    std::optional<vistello::CachedThumbnails> thumbnails;
    if (cacheHome) {
        cache.emplace(files, images, vistello::ProgramPool(), *cacheHome, vistello::QtMd5Hex);

        thumbnails.emplace(*cache);
    }
    vistello::CSlideShowApp().InitInstance(
        system, photos, images, &movies,
        vistello::PlacesFile(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")), &publishing,
        vistello::ProgramAlbumCipher, thumbnails ? &*thumbnails : nullptr);
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char* argv[]) {
    vistello::EndLeftoversOnSignals();
    const vistello::StartOptions options =
        vistello::ParseCommandLine(std::vector<std::string_view>(argv + 1, argv + argc));
    switch (options.action) {
        case vistello::StartAction::OpenWindow: {
            const int status = RunWindow(argc, argv, options);
            vistello::EndAsSignalled();
            return status;
        }
        case vistello::StartAction::Generate:
            return RunGenerate(options);
        case vistello::StartAction::Import:
            return RunImport(options);
        case vistello::StartAction::Publish:
            return RunPublish(options);
        case vistello::StartAction::PrintHelp:
        case vistello::StartAction::PrintVersion:
            std::cout << options.text;
            return EXIT_SUCCESS;
        case vistello::StartAction::RejectUsage:
            std::cerr << options.text;
            return 2;
    }
    return EXIT_FAILURE;
}
