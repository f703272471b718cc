// The program's message box: no owner, and modal for the whole task so that the
// main window takes no input while it is up.
#include <windows.h>

#include "collect/commands.h"

int show_message(const Text& text, std::uint32_t flags, const Text& caption) {
    if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
    // IDOK is 1, IDCANCEL 2 and so on: the button numbers count from 0 instead.
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags) - 1;
}
