// Self-painted windows: one WM_PAINT shape whose content painter is shared with
// WM_PRINTCLIENT, which hands over a DC of its own, and the program's class shape.
#pragma once

#include <windows.h>

#include "win/handles.h"

inline void paint_with(HWND window, void (*paint_content)(HWND, HDC)) {
    PaintingDC painting(window);
    paint_content(window, painting.get());
}

// Both of the program's own classes: redrawn whole on resize, arrow cursor, and
// the NULL_BRUSH, so the system never erases what the window paints itself.
inline bool register_self_painted_class(HINSTANCE instance, const char* name, WNDPROC procedure) {
    WNDCLASSA window_class = {};
    window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    window_class.lpszClassName = name;
    return RegisterClassA(&window_class) != 0;
}
