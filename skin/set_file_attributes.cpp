// Setting a file's attributes, limited to the four a deployed file may carry.
#include <windows.h>

#include "skin/file_operations.h"

bool set_file_attributes(const Text& path, std::uint32_t attributes) {
    constexpr std::uint32_t passed = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE;  // 0x27
    return SetFileAttributesA(path.c_str(), attributes & passed) != 0;
}
