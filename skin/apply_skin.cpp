// Dressing the window: deploy the carried skin engine and hand it one skin.
#include <windows.h>

#include "runtime/external_function_table.h"
#include "runtime/fatal_report.h"
#include "runtime/run_directory.h"
#include "skin/carried.h"
#include "skin/file_operations.h"
#include "skin/skin.h"

namespace {

Text skin_engine_library_path() {
    return join_text({run_directory().c_str(), "\\", skin_engine_library_name});
}

#if defined(__i386__)
// Calls the entry and gives how far the stack pointer moved over the call: 0
// when the entry removed its arguments itself, as WINAPI requires. The call is
// made in one piece of assembly so that no stack adjustment of the compiler's
// own can hide or fake a difference.
std::int32_t stack_moved_by_call(SkinAttachEntry* entry, const void* skin, std::uint32_t length,
                                 const char* key) {
    struct {
        SkinAttachEntry* entry;
        const void* skin;
        std::uint32_t length;
        const char* key;
        std::int32_t zeros[3];
    } call = {entry, skin, length, key, {0, 0, 0}};
    std::int32_t moved;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "pushl 24(%1)\n\t"
        "pushl 20(%1)\n\t"
        "pushl 16(%1)\n\t"
        "pushl 12(%1)\n\t"
        "pushl 8(%1)\n\t"
        "pushl 4(%1)\n\t"
        "call *(%1)\n\t"
        "movl %%esi, %0\n\t"
        "subl %%esp, %0\n\t"
        "movl %%esi, %%esp"
        : "=r"(moved)
        : "r"(&call)
        : "eax", "ecx", "edx", "esi", "memory", "cc");
    return moved;
}
#else
// x86-64 Windows has one calling convention, in which the caller always removes
// the arguments: an entry cannot unbalance the stack, so there is nothing to check.
std::int32_t stack_moved_by_call(SkinAttachEntry* entry, const void* skin, std::uint32_t length,
                                 const char* key) {
    entry(static_cast<const BYTE*>(skin), length, key, 0, 0, 0);
    return 0;
}
#endif

}  // namespace

void ensure_skin_engine_library() {
    if (file_exists(skin_engine_library_path())) return;
    // Written under a scratch name and moved into place only when whole: a
    // broken library under the real name would be found, trusted and never
    // rewritten by every later start. The move never replaces a file that
    // appeared meanwhile.
    Text scratch = join_text({skin_engine_library_path(), ".part"});
    CarriedBytes image = skin_engine_image();
    if (write_file(scratch, ByteSet(image.bytes, image.count)))
        MoveFileA(scratch.c_str(), skin_engine_library_path().c_str());
    DeleteFileA(scratch.c_str());  // left over only when the write or the move failed
    set_file_attributes(skin_engine_library_path(), FILE_ATTRIBUTE_HIDDEN);
}

void apply_skin(std::int32_t skin_number) {
    ensure_skin_engine_library();
    // A private copy: the engine may read it only during the call.
    ByteSet skin;
    if (skin_number >= 1 && skin_number <= skin_count) {
        CarriedBytes entry = skin_catalogue(skin_number);
        skin = ByteSet(entry.bytes, entry.count);
    }
    Text no_key;
    SkinAttachEntry* entry = skin_attach_entry();
    if (stack_moved_by_call(entry, skin.data(), byte_set_size(skin), no_key.c_str()) != 0)
        report_runtime_error(6, "调用DLL命令后发现堆栈错误");
}
