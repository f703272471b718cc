// Writing one file whole. Kept in a file of its own so that a test program can
// link a failing write in its place.
#include <windows.h>

#include "skin/file_operations.h"
#include "win/handles.h"

bool write_file(const Text& path, const ByteSet& data) {
    if (path.empty()) return false;
    UniqueFile file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    if (byte_set_size(data) > 0 &&
        (!WriteFile(file.get(), data.data(), byte_set_size(data), &written, nullptr) ||
         written != byte_set_size(data)))
        return false;
    return CloseHandle(file.release()) != 0;
}
