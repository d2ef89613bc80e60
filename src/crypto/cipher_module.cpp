#include "crypto/cipher_module.h"

#include <filesystem>
#include <mutex>

#include "files/module_entry.h"

namespace vistello {

namespace {

using Entry = AlbumCipher* (*)();

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace

AlbumCipher* LoadAlbumCipher(const std::vector<std::string>& places, std::string& failure) {
    static std::once_flag loaded;
    static AlbumCipher* cipher = nullptr;
    static std::string why;
    std::call_once(loaded, [&places] {
        if (auto entry = reinterpret_cast<Entry>(
                FindModuleEntry(places, kAlbumCipherEntry, "a cipher", why))) {
            cipher = entry();
        }
    });
    if (cipher == nullptr) failure = why;
    return cipher;
}

AlbumCipher* ProgramAlbumCipher(std::string& failure) {
    const std::filesystem::path folder = ProgramFolder();
    return LoadAlbumCipher({(folder / VISTELLO_MODULE_FROM_PROGRAM / "vistello-cipher.so").string(),
                            (folder / "vistello-cipher.so").string()},
                           failure);
}

}  // namespace vistello
