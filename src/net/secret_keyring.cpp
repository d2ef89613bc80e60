#include "net/secret_keyring.h"

#include <libsecret/secret.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vistello {

namespace {

constexpr std::chrono::seconds kLongestWait{4};

const SecretSchema* Schema() {
    static const SecretSchema schema = {
        "org.vistello.Vistello.Secret",
        SECRET_SCHEMA_NONE,
        {{"key", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
        0,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr};
    return &schema;
}

// Runs a keyring call on a thread of its own, and cancels it when no answer came in time.
void WithDeadline(const std::function<void(GCancellable*)>& call) {
    GCancellable* cancellable = g_cancellable_new();
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    try {
        std::thread worker([&] {
            call(cancellable);
            const std::lock_guard guard(lock);
            finished = true;
            done.notify_one();
        });
        {
            std::unique_lock guard(lock);
            if (!done.wait_for(guard, kLongestWait, [&] { return finished; }))
                g_cancellable_cancel(cancellable);
        }
        worker.join();
    } catch (const std::system_error&) {
    }
    g_object_unref(cancellable);
}

std::string Words(GError* error) {
    std::string words = error != nullptr && error->message != nullptr
                            ? error->message
                            : "the keyring did not answer";
    if (error != nullptr) g_error_free(error);
    return words;
}

}  // namespace

std::optional<std::string> SecretKeyring::Find(const std::string& key) {
    std::optional<std::string> found;
    WithDeadline([&](GCancellable* cancellable) {
        GError* error = nullptr;
        gchar* secret =
            secret_password_lookup_sync(Schema(), cancellable, &error, "key", key.c_str(), nullptr);
        if (secret != nullptr) found = std::string(secret);
        secret_password_free(secret);
        if (error != nullptr) g_error_free(error);
    });
    return found;
}

bool SecretKeyring::Keep(const std::string& key, const std::string& label,
                         const std::string& secret, std::string& failure) {
    bool kept = false;
    failure = "the keyring did not answer";
    WithDeadline([&](GCancellable* cancellable) {
        GError* error = nullptr;
        kept = secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(),
                                          secret.c_str(), cancellable, &error, "key", key.c_str(),
                                          nullptr) != FALSE;
        failure = kept ? "" : Words(error);
    });
    return kept;
}

void SecretKeyring::Forget(const std::string& key) {
    WithDeadline([&](GCancellable* cancellable) {
        GError* error = nullptr;
        secret_password_clear_sync(Schema(), cancellable, &error, "key", key.c_str(), nullptr);
        if (error != nullptr) g_error_free(error);
    });
}

}  // namespace vistello
