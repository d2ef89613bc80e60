#include "crypto/cipher_module.h"
#include "crypto/openssl_album_cipher.h"

// The one name the program looks up in this module: kAlbumCipherEntry.
extern "C" __attribute__((visibility("default"))) vistello::AlbumCipher* vistello_album_cipher() {
    static vistello::OpenSslAlbumCipher cipher;
    return &cipher;
}
