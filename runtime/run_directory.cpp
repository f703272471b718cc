// The executable's folder, fixed once at start: where the skin engine is written
// and loaded from, and the process's current directory.
#include "skin/run_directory.h"

#include <windows.h>

#include "skin/skin.h"

namespace {

Text fixed_run_directory;

}  // namespace

Text directory_of_path(const char* path) {
    const char* last_separator = nullptr;
    for (const char* at = path; *at; at = CharNextA(at))
        if (*at == '\\') last_separator = at;
    if (!last_separator) return Text();
    return Text(path, static_cast<std::uint32_t>(last_separator - path));
}

Text run_directory() { return fixed_run_directory; }

void fix_run_directory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    path[sizeof path - 1] = '\0';  // a cut-off path is not terminated on older systems
    fixed_run_directory = directory_of_path(path);
    SetCurrentDirectoryA(fixed_run_directory.c_str());
}
