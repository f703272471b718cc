// The self-painted label class: button-face fill, then one line of black text.
#include "app/label.h"

#include "app/window_design.h"
#include "win/handles.h"
#include "win/paint.h"

namespace {

// Shared by WM_PAINT and WM_PRINTCLIENT.
void paint_label(HWND label, HDC dc) {
    RECT client;
    GetClientRect(label, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    char text[256];
    int length = GetWindowTextA(label, text, sizeof text);
    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    // One line, cut at the label's edge rather than wrapped.
    DrawTextA(dc, text, length, &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

LRESULT CALLBACK label_procedure(HWND label, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: paint_with(label, paint_label); return 0;
    case WM_PRINTCLIENT: paint_label(label, reinterpret_cast<HDC>(wparam)); return 0;
    }
    return DefWindowProcA(label, message, wparam, lparam);
}

}  // namespace

bool register_label_class(HINSTANCE instance) {
    return register_self_painted_class(instance, label_class_name, label_procedure);
}
