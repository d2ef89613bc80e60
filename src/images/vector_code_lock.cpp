#include "images/vector_code_lock.h"

#include <dlfcn.h>
#include <orc/orc.h>
#include <vips/vips.h>

#include <atomic>
// After the library's own header, which the generator's header needs before it.
#include <vips/vector.h>

namespace vistello {

namespace {

std::atomic<bool> freedHere = false;

// The generator's own function of that name: the next one the dynamic linker knows after this.
template <typename Function>
Function Generators(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

std::mutex& VectorCodeLock() {
    static std::mutex lock;
    return lock;
}

bool VectorCodeLocked() {
    freedHere = false;
    vips_vector_free(vips_vector_new("probe", 1));
    return freedHere;
}

}  // namespace vistello

// Found before the generator's own by the image library: in a program, the linker exports what a
// library it links calls; in the module, the module comes first among what it loads.
extern "C" __attribute__((visibility("default"))) OrcCompileResult orc_program_compile(
    OrcProgram* program) {
    using Compile = OrcCompileResult (*)(OrcProgram*);
    static const auto compile = vistello::Generators<Compile>("orc_program_compile");
    if (compile == nullptr) return ORC_COMPILE_RESULT_UNKNOWN_COMPILE;
    const std::lock_guard lock(vistello::VectorCodeLock());
    return compile(program);
}

extern "C" __attribute__((visibility("default"))) void orc_program_free(OrcProgram* program) {
    using Free = void (*)(OrcProgram*);
    static const auto release = vistello::Generators<Free>("orc_program_free");
    vistello::freedHere = true;
    if (release == nullptr) return;
    const std::lock_guard lock(vistello::VectorCodeLock());
    release(program);
}
