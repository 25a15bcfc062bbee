#include "game/file_step_faults.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>
#include <utility>

namespace file_steps {
namespace {

Hook g_hook;

}  // namespace

// False, with errno set, when the hook refuses the call.
bool Allowed(Call call, const std::filesystem::path& target) {
    if (!g_hook) {
        return true;
    }
    // The hook may look at files itself: it runs unhooked.
    Hook hook = std::move(g_hook);
    const int error = hook(Step{call, target});
    g_hook = std::move(hook);
    if (error != 0) {
        errno = error;
    }
    return error == 0;
}

CScopedHook::CScopedHook(Hook hook) {
    g_hook = std::move(hook);
}

CScopedHook::~CScopedHook() {
    g_hook = nullptr;
}

}  // namespace file_steps

namespace {

using PathCall = int (*)(const char*, const char*);

template <typename Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int descriptor) {
    static const auto real = Real<int (*)(int)>("fsync");
    std::error_code error;
    const auto target =
        std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(descriptor), error);
    return file_steps::Allowed(file_steps::Call::Sync, target) ? real(descriptor) : -1;
}

extern "C" int rename(const char* from, const char* to) noexcept {
    static const auto real = Real<PathCall>("rename");
    return file_steps::Allowed(file_steps::Call::Rename, from) ? real(from, to) : -1;
}

extern "C" int link(const char* from, const char* to) noexcept {
    static const auto real = Real<PathCall>("link");
    return file_steps::Allowed(file_steps::Call::Link, from) ? real(from, to) : -1;
}
