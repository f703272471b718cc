// Plain text onto the clipboard as CF_TEXT, in the ANSI code page as it is.
#include <windows.h>

#include <cstring>

#include "collect/commands.h"
#include "win/handles.h"

bool put_clipboard_text(const Text& text) {
    // The block is made and filled before the clipboard is opened: a failed
    // allocation must leave the user's clipboard as it was.
    std::uint32_t bytes = text.length() + 1;
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    if (!block) return false;
    {
        LockedGlobal locked(block.get());
        if (!locked.bytes()) return false;
        std::memcpy(locked.bytes(), text.c_str(), bytes);
    }

    OpenedClipboard clipboard;
    if (!clipboard.opened()) return false;
    EmptyClipboard();
    bool handed_over = SetClipboardData(CF_TEXT, block.get()) != nullptr;
    // Once handed over the block is the clipboard's; a refused one is still ours.
    if (handed_over) block.release();
    return handed_over;
}
