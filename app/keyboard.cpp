// Tab, Shift+Tab and Esc for the main window and every control on it, 编辑框1
// included: no control keeps these keys for itself.
#include "app/keyboard.h"

#include "app/main_window.h"

namespace {

bool is_down(int key) { return GetKeyState(key) < 0; }

}  // namespace

bool handle_key(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    HWND window = main_window();
    if (!window || (message.hwnd != window && !IsChild(window, message.hwnd))) return false;

    bool ctrl = is_down(VK_CONTROL), shift = is_down(VK_SHIFT), alt = is_down(VK_MENU);
    switch (message.wParam) {
    case VK_TAB:
        if (ctrl || alt) return false;
        move_focus(shift);
        return true;
    case VK_ESCAPE:
        if (ctrl || shift || alt) return false;
        SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    }
    // Enter goes on to the focused control: 编辑框1 breaks the line there, and the
    // window has no default push button that it could click instead.
    return false;
}
