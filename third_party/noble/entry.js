// The fallback crypto of a private album's pages: loaded only where crypto.subtle is missing.
import { gcm } from "@noble/ciphers/aes";
import { hmac } from "@noble/hashes/hmac";
import { pbkdf2, pbkdf2Async } from "@noble/hashes/pbkdf2";
import { sha256 } from "@noble/hashes/sha256";

window.vistelloNoble = { gcm, pbkdf2, pbkdf2Async, hmac, sha256 };
