#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The files a sealed folder holds beside its blobs, the same in every private album: the loader
// the stubs name and the cipher it falls back on where the browser offers none, as built into
// the program (see EmbeddedFile); and the stub that opens the album's first page.
inline constexpr std::string_view kOpenScriptName = "vistello-open.js";
inline constexpr std::string_view kCryptoScriptName = "vistello-crypto.js";
inline constexpr std::string_view kHomeStubName = "index.html";

// Whether the file at the path from the album's folder is a page, which a stub opens.
bool IsPagePath(std::string_view path);

// The stub page that opens the blob `id`.
std::string StubPage(std::string_view id);

}  // namespace vistello
