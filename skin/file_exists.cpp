// Whether something of that name is there; what it is does not matter.
#include <windows.h>

#include "skin/file_operations.h"

bool file_exists(const Text& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}
