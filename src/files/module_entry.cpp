#include "files/module_entry.h"

#include <dlfcn.h>

namespace vistello {

void* FindModuleEntry(const std::vector<std::string>& places, const char* entry,
                      const std::string& kind, std::string& failure) {
    if (void* own = ::dlsym(RTLD_DEFAULT, entry)) return own;
    for (const std::string& place : places) {
        void* module = ::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            failure = ::dlerror();
            continue;
        }
        if (void* found = ::dlsym(module, entry)) return found;
        failure = place + ": not " + kind + " module";
    }
    return nullptr;
}

}  // namespace vistello
