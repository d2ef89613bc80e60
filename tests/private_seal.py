"""Seals a generated album's folder into a private album's published folder, for the browser tests
and the benchmark: every file a blob named by its keyed digest, every page a stub, and the loader,
the fallback crypto and the wrapped key beside them.
Usage: private_seal.py SRC_FOLDER DEST_FOLDER PASSWORD [--iterations N]"""
import argparse
import base64
import hashlib
import hmac
import json
import os
import shutil
import struct

from cryptography.hazmat.primitives.ciphers.aead import AESGCM

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PAGE = os.path.join(REPO, "src", "private", "page")
CRYPTO = os.path.join(REPO, "third_party", "noble", "vistello-crypto.js")


def b64(data):
    return base64.b64encode(data).decode()


def blob_id(key, path):
    return hmac.new(key, b"vistello-name\0" + path, hashlib.sha256).digest()[:16].hex()


def padded(length):
    exponent = length.bit_length() - 1
    mask = (1 << (exponent - (exponent.bit_length() - 1) - 1)) - 1
    return max(1024, (length + mask) & ~mask)


def blob(key, path, data):
    name = blob_id(key, path)
    plain = struct.pack(">I", len(path)) + path + struct.pack(">Q", len(data)) + data
    plain += bytes(padded(len(plain)) - len(plain))
    nonce = os.urandom(12)
    sealed = AESGCM(key).encrypt(nonce, plain, b"vistello-blob\0" + name.encode())
    return name, 'vistello.put("%s","%s");\n' % (name, b64(nonce + sealed))


def key_file(key, password, iterations):
    salt, nonce = os.urandom(16), os.urandom(12)
    kek = hashlib.pbkdf2_hmac("sha256", password.encode(), salt, iterations, 32)
    wrapped = AESGCM(kek).encrypt(nonce, key, b"vistello-key")
    fields = {"v": 1, "kdf": "pbkdf2-sha256", "iterations": iterations, "salt": b64(salt),
              "nonce": b64(nonce), "key": b64(wrapped)}
    return "vistello.key(%s);\n" % json.dumps(fields, separators=(",", ":"))


# Every regular file whose name and folders' names start with no dot, '/'-separated.
def files(root):
    for folder, folders, names in os.walk(root):
        folders[:] = sorted(f for f in folders if not f.startswith("."))
        for name in sorted(names):
            full = os.path.join(folder, name)
            if not name.startswith(".") and os.path.isfile(full) and not os.path.islink(full):
                path = os.path.relpath(full, root).replace(os.sep, "/")
                yield path.encode("utf-8", "surrogateescape"), full


def seal(source, dest, password, iterations):
    key = os.urandom(32)
    os.makedirs(dest, exist_ok=True)
    with open(os.path.join(PAGE, "stub.html"), encoding="utf-8") as text:
        stub = text.read()

    def write(name, text):
        with open(os.path.join(dest, name), "w", encoding="ascii", newline="") as out:
            out.write(text)

    pages = []
    for path, full in files(source):
        with open(full, "rb") as data:
            name, text = blob(key, path, data.read())
        write(name + ".js", text)
        if path.lower().endswith((b".htm", b".html")):
            write(name + ".html", stub.replace("@ID@", name))
            pages.append(path)
    home = b"index.htm" if b"index.htm" in pages else pages[0]
    write("index.html", stub.replace("@ID@", blob_id(key, home)))
    write("vistello-key.js", key_file(key, password, iterations))
    shutil.copy(os.path.join(PAGE, "vistello-open.js"), dest)
    shutil.copy(CRYPTO, dest)
    return key


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("dest")
    parser.add_argument("password")
    parser.add_argument("--iterations", type=int, default=600000)
    arguments = parser.parse_args()
    seal(arguments.source, arguments.dest, arguments.password, arguments.iterations)
