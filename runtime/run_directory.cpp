// The executable's folder, fixed once at start: where the skin engine is written
// and loaded from, and the process's current directory.
#include "runtime/run_directory.h"

#include <cstring>

namespace {

FixedPath fixed_run_directory;

}  // namespace

FixedPath directory_of_path(const char* path) {
    FixedPath directory = {};
    const char* last_separator = nullptr;
    for (const char* at = path; *at; at = CharNextA(at))
        if (*at == '\\') last_separator = at;
    if (!last_separator) return directory;
    std::size_t length = static_cast<std::size_t>(last_separator - path);
    // Only a path too long to be a module's could get here.
    if (length >= sizeof directory.bytes) length = sizeof directory.bytes - 1;
    std::memcpy(directory.bytes, path, length);
    return directory;
}

const FixedPath& run_directory() { return fixed_run_directory; }

void fix_run_directory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    path[sizeof path - 1] = '\0';  // a cut-off path is not terminated on older systems
    fixed_run_directory = directory_of_path(path);
    SetCurrentDirectoryA(fixed_run_directory.c_str());
}
