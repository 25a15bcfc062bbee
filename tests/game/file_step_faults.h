#pragma once
// Fault injection for the save code's steps on the file system: while a test
// has set the hook, every fsync, rename and link of the game test program asks
// it first, and a call it refuses fails with the errno it answers.
#include <filesystem>
#include <functional>

namespace file_steps {

enum class Call { Sync, Rename, Link };

struct Step {
    Call call;
    // What the synced descriptor names, or the file being renamed or linked.
    std::filesystem::path target;
};

// 0 lets the call run; anything else is the errno it fails with.
using Hook = std::function<int(const Step&)>;

// Asks the hook about a call; false, with errno set, when it refuses it.
bool Allowed(Call call, const std::filesystem::path& target);

// Sets the hook for the life of the scope.
class CScopedHook {
public:
    explicit CScopedHook(Hook hook);
    ~CScopedHook();
    CScopedHook(const CScopedHook&) = delete;
    CScopedHook& operator=(const CScopedHook&) = delete;
};

}  // namespace file_steps
