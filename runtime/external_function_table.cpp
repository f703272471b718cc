// Entries of outside libraries, bound on first call and kept until the process ends.
#include "runtime/external_function_table.h"

#include <windows.h>

#include <cstdio>

#include "runtime/fatal_report.h"
#include "runtime/run_directory.h"
#include "win/handles.h"

namespace {

struct ExternalFunctionEntry {
    const char* library_name;
    const char* function_name;
    // Both empty at start, both filled by the first successful call.
    HMODULE library;
    FARPROC address;
};

ExternalFunctionEntry external_function_table[] = {
    {skin_engine_library_name, "SkinH_AttachRes", nullptr, nullptr},
};

UniqueModule load_library(const char* library_name) {
    char beside_program[MAX_PATH];
    int length =
        std::snprintf(beside_program, sizeof beside_program, "%s\\%s", run_directory().c_str(), library_name);
    UniqueModule library;
    // A path too long for the buffer is too long for LoadLibraryA as well.
    if (length > 0 && length < int(sizeof beside_program)) library.reset(LoadLibraryA(beside_program));
    if (!library) library.reset(LoadLibraryA(library_name));  // the system's search order
    return library;
}

}  // namespace

void* external_function(ExternalFunction entry) {
    ExternalFunctionEntry& slot = external_function_table[entry];
    if (slot.address) return reinterpret_cast<void*>(slot.address);

    UniqueModule library = load_library(slot.library_name);
    FARPROC address = library ? GetProcAddress(library.get(), slot.function_name) : nullptr;
    if (!address) {
        library.reset();
        char message[256];
        std::snprintf(message, sizeof message, "无法找到指定DLL库文件“%s”中的输出命令“%s”", slot.library_name,
                      slot.function_name);
        report_runtime_error(0, message);
    }
    slot.library = library.release();
    slot.address = address;
    return reinterpret_cast<void*>(address);
}

void release_external_libraries() {
    for (ExternalFunctionEntry& slot : external_function_table) {
        if (slot.library) FreeLibrary(slot.library);
        slot.library = nullptr;
        slot.address = nullptr;
    }
}
