#pragma once

#include <string>
#include <vector>

#include "media/album_cipher.h"

namespace vistello {

// The cipher module's one entry point: extern "C" AlbumCipher* vistello_album_cipher().
inline constexpr const char* kAlbumCipherEntry = "vistello_album_cipher";

// The crypto library, loaded from its own module the first time a private album is made, so that
// a start that makes none does not load it. The cipher from the first of the places that has it,
// unless the program carries it itself; nothing, with the reason in `failure`, when none does.
// Loaded once: later calls give the same answer.
AlbumCipher* LoadAlbumCipher(const std::vector<std::string>& places, std::string& failure);

// The program's own cipher: the module where it is installed, else beside the program as in the
// build folder.
AlbumCipher* ProgramAlbumCipher(std::string& failure);

}  // namespace vistello
