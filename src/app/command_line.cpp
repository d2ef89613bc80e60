#include "app/command_line.h"

namespace vistello {

namespace {

constexpr const char* kUsage =
    "Usage: vistello [OPTION]\n"
    "   or: vistello --generate [PROJECT] [--album-password-file FILE]\n"
    "   or: vistello --import FOLDER [PROJECT] [--by-date] [--albums]\n"
    "   or: vistello [--generate] --publish [PROJECT] [--dry-run] [--allow-removals]\n"
    "Turns an ordered list of images into a web slide show. The window opens in the current\n"
    "folder, where the program keeps vistello.ini and the project file it names.\n"
    "\n"
    "      --generate [PROJECT]  write the pages of PROJECT, or of the project that vistello.ini\n"
    "                  names, without opening the window; failures go to standard error, one\n"
    "                  line each, and the exit status is 1 when any page or image failed\n"
    "      --import FOLDER [PROJECT]  add the images of FOLDER to PROJECT, or to the project\n"
    "                  that vistello.ini names, as Import Directory does, and save it; the\n"
    "                  project is made when it does not exist yet\n"
    "      --by-date   with --import: add the images in the order they were taken, oldest\n"
    "                  first, rather than by name\n"
    "      --albums    with --import: make an album of every folder below FOLDER that holds\n"
    "                  images, at any depth; the albums' projects are kept beside PROJECT, in\n"
    "                  a folder named after it with .albums, and a run again adds what is new\n"
    "      --album-password-file FILE  with --generate: the password of the private albums\n"
    "                  whose secret the desktop's keyring does not hold is the first line of\n"
    "                  FILE; a private album without one is left out, and the exit status is 1\n"
    "      --publish [PROJECT]  send the site generated in the output folder of PROJECT, or of\n"
    "                  the project that vistello.ini names, to the server its PUBLISH= address\n"
    "                  names: only what changed, then away what the site no longer has; with\n"
    "                  --generate, generate it first; the exit status is 0 only when the\n"
    "                  server holds the site\n"
    "      --dry-run   with --publish: list what would be sent and removed, and send nothing\n"
    "      --allow-removals  with --publish: remove more than a tenth of the site at once\n"
    "      --password-file FILE  with --publish: the password, or the S3 secret key, is the\n"
    "                  first line of FILE (S3 also reads AWS_ACCESS_KEY_ID and\n"
    "                  AWS_SECRET_ACCESS_KEY)\n"
    "      --accept-host-key FINGERPRINT  with --publish: trust the SFTP server's key that\n"
    "                  known_hosts does not name, as a refusal printed it (SHA256:...)\n"
    "      --desktop   open in the user's data folder instead: $XDG_DATA_HOME/vistello, or\n"
    "                  ~/.local/share/vistello; on first start it is made, holding the demo\n"
    "                  when it is installed: pictures, the three looks and a project\n"
    "  -h, --help      print this help and exit\n"
    "      --version   print the version and exit\n";

std::string Refusal(std::string_view reason, std::string_view argument) {
    std::string text = "vistello: ";
    text.append(reason).append(" '").append(argument).append("'\n");
    return text + kUsage;
}

// The first publishing option given, to name in a refusal.
std::string_view PublishOption(const StartOptions& options) {
    if (options.dryRun) return "--dry-run";
    if (options.allowRemovals) return "--allow-removals";
    if (!options.passwordFile.empty()) return "--password-file";
    return "--accept-host-key";
}

}  // namespace

std::string_view UsageText() { return kUsage; }

StartOptions ParseCommandLine(const std::vector<std::string_view>& arguments) {
    StartOptions options;
    bool help = false;
    bool version = false;
    bool generate = false;
    bool import = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--generate") {
            generate = true;
            const bool named = i + 1 < arguments.size() && !arguments[i + 1].starts_with('-');
            if (named) options.projectFile = arguments[++i];
        } else if (argument == "--import") {
            import = true;
            if (i + 1 >= arguments.size() || arguments[i + 1].starts_with('-')) {
                return {StartAction::RejectUsage, false, Refusal("missing folder after", argument),
                        "", ""};
            }
            options.importFolder = arguments[++i];
            const bool named = i + 1 < arguments.size() && !arguments[i + 1].starts_with('-');
            if (named) options.projectFile = arguments[++i];
        } else if (argument == "--publish") {
            options.publish = true;
            const bool named = i + 1 < arguments.size() && !arguments[i + 1].starts_with('-');
            if (named) options.projectFile = arguments[++i];
        } else if (argument == "--dry-run") {
            options.dryRun = true;
        } else if (argument == "--allow-removals") {
            options.allowRemovals = true;
        } else if (argument == "--password-file" || argument == "--accept-host-key" ||
                   argument == "--album-password-file") {
            if (i + 1 >= arguments.size()) {
                return {StartAction::RejectUsage, false, Refusal("missing value after", argument),
                        "", ""};
            }
            (argument == "--password-file"     ? options.passwordFile
             : argument == "--accept-host-key" ? options.hostKey
                                               : options.albumPasswordFile) = arguments[++i];
        } else if (argument == "-h" || argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == "--by-date") {
            options.byDate = true;
        } else if (argument == "--albums") {
            options.albums = true;
        } else if (argument == "--desktop") {
            options.desktopFolder = true;
        } else {
            const bool option = argument.starts_with('-');
            return {StartAction::RejectUsage, false,
                    Refusal(option ? "unknown option" : "unexpected argument", argument), "", ""};
        }
    }
    if (help) return {StartAction::PrintHelp, false, kUsage, "", ""};
    if (version) {
        return {StartAction::PrintVersion, false, "vistello " VISTELLO_VERSION "\n", "", ""};
    }
    if (options.byDate && !import) {
        return {StartAction::RejectUsage, false, Refusal("needs --import:", "--by-date"), "", ""};
    }
    if (options.albums && !import) {
        return {StartAction::RejectUsage, false, Refusal("needs --import:", "--albums"), "", ""};
    }
    if (!options.albumPasswordFile.empty() && !generate) {
        return {StartAction::RejectUsage, false,
                Refusal("needs --generate:", "--album-password-file"), "", ""};
    }
    const bool publishing = options.dryRun || options.allowRemovals ||
                            !options.passwordFile.empty() || !options.hostKey.empty();
    if (publishing && !options.publish) {
        return {StartAction::RejectUsage, false,
                Refusal("needs --publish:", PublishOption(options)), "", ""};
    }
    if (import) {
        options.action = StartAction::Import;
    } else if (generate) {
        options.action = StartAction::Generate;
    } else if (options.publish) {
        options.action = StartAction::Publish;
    }
    return options;
}

}  // namespace vistello
