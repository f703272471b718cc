// Whether something of that name is there; what it is does not matter.
#include <windows.h>

#include "skin/file_operations.h"
#include "win/handles.h"

bool file_exists(const Text& path) {
    WIN32_FIND_DATAA found;
    return bool(UniqueFileSearch(FindFirstFileA(path.c_str(), &found)));
}
