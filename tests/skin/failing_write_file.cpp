// Linked in place of write_file: fails half-way, as a full disk would, leaving
// the half it wrote behind. No broken library may stay under the real name.
#include <windows.h>

#include "skin/file_operations.h"

bool write_file(const Text& path, const ByteSet& data) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written;
    WriteFile(file, data.data(), byte_set_size(data) / 2, &written, nullptr);
    CloseHandle(file);
    return false;
}
