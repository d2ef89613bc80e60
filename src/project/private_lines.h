#pragma once

#include <string>
#include <string_view>

#include "show/web_settings.h"

namespace vistello {

// Whether a project is a private album, and whether the overview above it shows its title: the
// PRIVATE= and PRIVATE_TITLE= lines of its file, written only when set.
struct Privacy {
    bool isPrivate = false;
    bool showsTitle = false;
    bool operator==(const Privacy&) const = default;
};

// As a project file's bytes say it, whatever their line ends.
Privacy PrivacyOf(std::string_view bytes);

// A project file's bytes with its privacy lines as asked and every other byte as it was: the old
// lines go wherever they stood, and the new ones come in before the first row, with CR LF as
// projects are written. What follows a Ctrl-Z is no part of the project and stays.
std::string WithPrivacyLines(std::string_view bytes, Privacy privacy);

// The settings of the project open in the window, as a file of them with these lines would read;
// they round-trip through the project's own lines, so that no setting is lost on the way.
WebSettings WithPrivacy(const WebSettings& web, Privacy privacy);
Privacy PrivacyOf(const WebSettings& web);

}  // namespace vistello
