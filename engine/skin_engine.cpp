// Our skin engine, SkinH_EL.dll: one entry takes a skin file and dresses every
// window of the calling thread with it, those that exist and those made later.
#include <windows.h>

#include <cstring>

#include "engine/skin_engine.h"
#include "engine/skin_file.h"
#include "win/handles.h"
#include "win/paint.h"

namespace {

// One engine per process; the entry runs on the thread whose windows it dresses.
SkinFile skin;
UniqueBrush label_brush, edit_brush, list_brush;
UniqueHook creation_hook;
bool pinned = false;

// The dressed windows and the procedures they had before. Kept here rather than
// in window properties: under Wine every property lookup is a trip to the window
// server, and a collection sends its list boxes tens of thousands of messages.
struct DressedWindow {
    HWND window;
    WNDPROC original;
    bool wide;  // dressed with a wide procedure (edit boxes only, see dress)
};
DressedWindow dressed[64];  // this program's windows, a message box and its parts
int dressed_count;

DressedWindow* dressed_entry(HWND window) {
    for (int i = 0; i < dressed_count; ++i)
        if (dressed[i].window == window) return &dressed[i];
    return nullptr;
}

bool read_skin(const BYTE* data, DWORD length, SkinFile* out) {
    if (!data || length <= sizeof(SkinFile)) return false;
    SkinFile file;
    std::memcpy(&file, data, sizeof file);
    if (std::memcmp(file.magic, ".SHE", 4) != 0 || file.version != skin_file_version ||
        file.header_length != sizeof(SkinFile) || file.file_length != length || data[length - 1] != 0)
        return false;
    *out = file;
    return true;
}

// --- painting -------------------------------------------------------------

void fill(HDC dc, const RECT& area, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

COLORREF blend(COLORREF from, COLORREF to, int step, int steps) {
    auto mix = [&](int a, int b) { return a + (b - a) * step / (steps > 1 ? steps - 1 : 1); };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

void fill_gradient(HDC dc, const RECT& area, COLORREF top, COLORREF bottom) {
    int height = area.bottom - area.top;
    for (int y = 0; y < height; ++y) {
        RECT row = {area.left, area.top + y, area.right, area.top + y + 1};
        fill(dc, row, blend(top, bottom, y, height));
    }
}

HFONT font_of(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Top-level windows of the program's own classes: gradient and hatching.
void paint_window_back(HDC dc, const RECT& client) {
    fill_gradient(dc, client, skin.window_top, skin.window_bottom);
    if (skin.hatch_style == 0) return;
    UniqueBrush hatch(CreateHatchBrush(skin.hatch_style - 1, skin.hatch));
    SavedDCState saved(dc);
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &client, hatch.get());
}

// Child windows of the program's own classes are labels: a plain face and one
// line of text, as they draw themselves unskinned.
void paint_label(HWND label, HDC dc, RECT client) {
    fill(dc, client, skin.label_back);
    char text[512];
    int length = GetWindowTextA(label, text, sizeof text);
    SavedDCState saved(dc);
    SelectObject(dc, font_of(label));
    SetTextColor(dc, skin.label_text);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, length, &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

void paint_panel(HWND panel, HDC dc) {
    RECT client;
    GetClientRect(panel, &client);
    if (GetWindowLongA(panel, GWL_STYLE) & WS_CHILD)
        paint_label(panel, dc, client);
    else
        paint_window_back(dc, client);
}

// The parent paints what the rounded corners leave showing.
void paint_parent_behind(HWND child, HDC dc) {
    RECT client;
    GetClientRect(child, &client);
    fill(dc, client, skin.label_back);
    HWND parent = GetParent(child);
    if (!parent) return;
    POINT origin = {0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    SavedDCState saved(dc);
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
}

void paint_button(HWND button, HDC dc) {
    RECT face;
    GetClientRect(button, &face);
    bool pushed = SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED;
    int radius = skin.button_radius;
    paint_parent_behind(button, dc);

    {
        // The clipping takes a copy of the region, so it may go with the state.
        UniqueRegion rounded(
            CreateRoundRectRgn(face.left, face.top, face.right + 1, face.bottom + 1, radius, radius));
        SavedDCState saved(dc);
        ExtSelectClipRgn(dc, rounded.get(), RGN_AND);
        fill_gradient(dc, face, pushed ? skin.button_bottom : skin.button_top,
                      pushed ? skin.button_top : skin.button_bottom);
    }

    // Declared first, so that it is deleted only after the state that selects it is restored.
    UniquePen border(CreatePen(PS_SOLID, 1, skin.button_border));
    SavedDCState saved(dc);
    SelectObject(dc, border.get());
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, face.left, face.top, face.right, face.bottom, radius, radius);

    // The text may wrap (BS_MULTILINE), so it is measured and centred by hand.
    char text[256];
    int length = GetWindowTextA(button, text, sizeof text);
    SelectObject(dc, font_of(button));
    RECT box = face;
    InflateRect(&box, -4, -2);
    RECT measured = box;
    DrawTextA(dc, text, length, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    int shift = pushed ? 1 : 0;
    OffsetRect(&box, shift, (box.bottom - box.top - (measured.bottom - measured.top)) / 2 + shift);
    SetTextColor(dc, IsWindowEnabled(button) ? skin.button_text : GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, length, &box, DT_CENTER | DT_WORDBREAK);

    if (GetFocus() == button) {
        InflateRect(&face, -4, -4);
        DrawFocusRect(dc, &face);
    }
}

void paint_frame(HWND box) {
    if (skin.frame_width == 0 || !(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return;
    RECT outline;
    GetWindowRect(box, &outline);
    OffsetRect(&outline, -outline.left, -outline.top);
    WindowDC dc = WindowDC::whole_window(box);
    UniqueBrush frame(CreateSolidBrush(skin.frame));
    // The sunken edge is two pixels wide; a wider frame would cover the text.
    for (int i = 0; i < skin.frame_width && i < 2; ++i) {
        FrameRect(dc.get(), &outline, frame.get());
        InflateRect(&outline, -1, -1);
    }
}

// --- window procedures ----------------------------------------------------

LRESULT pass_on(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DressedWindow* entry = dressed_entry(window);
    if (!entry) return DefWindowProcA(window, message, wparam, lparam);
    const DressedWindow dressed_window = *entry;
    if (message == WM_NCDESTROY) {
        auto original = reinterpret_cast<LONG_PTR>(dressed_window.original);
        if (dressed_window.wide)
            SetWindowLongPtrW(window, GWLP_WNDPROC, original);
        else
            SetWindowLongPtrA(window, GWLP_WNDPROC, original);
        *entry = dressed[--dressed_count];
    }
    return dressed_window.wide ? CallWindowProcW(dressed_window.original, window, message, wparam, lparam)
                               : CallWindowProcA(dressed_window.original, window, message, wparam, lparam);
}

// Windows that own controls answer their colour queries from the skin.
bool answer_colour_query(UINT message, WPARAM wparam, LRESULT* answer) {
    HDC dc = reinterpret_cast<HDC>(wparam);
    COLORREF text, back;
    HBRUSH brush;
    switch (message) {
    case WM_CTLCOLOREDIT: text = skin.edit_text, back = skin.edit_back, brush = edit_brush.get(); break;
    case WM_CTLCOLORLISTBOX: text = skin.list_text, back = skin.list_back, brush = list_brush.get(); break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: text = skin.label_text, back = skin.label_back, brush = label_brush.get(); break;
    default: return false;
    }
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    *answer = reinterpret_cast<LRESULT>(brush);
    return true;
}

// Erasing, painting and printing of a window the engine paints whole itself;
// false for every other message.
bool paint_whole(HWND window, UINT message, WPARAM wparam, void (*paint)(HWND, HDC), LRESULT* answer) {
    switch (message) {
    case WM_ERASEBKGND: *answer = 1; return true;
    case WM_PAINT:
        paint_with(window, paint);
        *answer = 0;
        return true;
    case WM_PRINTCLIENT:
        paint(window, reinterpret_cast<HDC>(wparam));
        *answer = 0;
        return true;
    }
    return false;
}

// Windows of the program's own classes: the engine paints them whole.
LRESULT CALLBACK panel_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT answer;
    if (answer_colour_query(message, wparam, &answer)) return answer;
    if (paint_whole(window, message, wparam, paint_panel, &answer)) return answer;
    return pass_on(window, message, wparam, lparam);
}

// Dialogs, such as message boxes, keep their own painting; only colours change.
LRESULT CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT answer;
    if (answer_colour_query(message, wparam, &answer)) return answer;
    if (message == WM_ERASEBKGND || message == WM_PRINTCLIENT) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wparam), &client, label_brush.get());
        return 1;
    }
    return pass_on(window, message, wparam, lparam);
}

// The button control draws itself straight away when its state changes, not
// only on WM_PAINT; after those messages its face is drawn again over it.
bool button_redraws_itself(UINT message) {
    switch (message) {
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE: return true;
    }
    return false;
}

LRESULT CALLBACK button_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT answer;
    if (paint_whole(window, message, wparam, paint_button, &answer)) return answer;
    LRESULT result = pass_on(window, message, wparam, lparam);
    if (button_redraws_itself(message) && IsWindowVisible(window))
        paint_button(window, WindowDC::client_area(window).get());
    return result;
}

LRESULT CALLBACK box_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = pass_on(window, message, wparam, lparam);
    if (message == WM_NCPAINT) paint_frame(window);
    return result;
}

// --- dressing ---------------------------------------------------------------

WNDPROC dress_for(HWND window) {
    char class_name[64];
    if (!GetClassNameA(window, class_name, sizeof class_name)) return nullptr;
    if (lstrcmpiA(class_name, "Button") == 0) {
        LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
        return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? button_proc : nullptr;
    }
    if (lstrcmpiA(class_name, "Edit") == 0 || lstrcmpiA(class_name, "ListBox") == 0) return box_proc;
    if (lstrcmpA(class_name, "#32770") == 0) return dialog_proc;
    bool own_class =
        GetClassLongPtrA(window, GCLP_HMODULE) == reinterpret_cast<ULONG_PTR>(GetModuleHandleA(nullptr));
    return own_class ? panel_proc : nullptr;
}

void dress(HWND window) {
    // A full table leaves the window its classic look.
    if (dressed_entry(window) || dressed_count == int(sizeof dressed / sizeof dressed[0])) return;
    WNDPROC proc = dress_for(window);
    if (!proc) return;
    if (!pinned) {
        // Dressed windows call into this library until they are destroyed, which
        // may be after the host has let the library go at its end.
        HMODULE self;
        pinned = GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                    reinterpret_cast<LPCSTR>(&dress), &self);
    }
    // Edit boxes wide, so that under Wine a typed GBK character reaches the box
    // whole, not as two separate bytes. Everything else ANSI: Wine carries an ANSI
    // LB_GETTEXT through a wide procedure in a fixed 512-character buffer, so a
    // longer list item would overrun it.
    char class_name[64] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    const bool wide = lstrcmpiA(class_name, "Edit") == 0;
    const auto new_proc = reinterpret_cast<LONG_PTR>(proc);
    const LONG_PTR original = wide ? SetWindowLongPtrW(window, GWLP_WNDPROC, new_proc)
                                   : SetWindowLongPtrA(window, GWLP_WNDPROC, new_proc);
    dressed[dressed_count++] = {window, reinterpret_cast<WNDPROC>(original), wide};
}

LRESULT CALLBACK on_window_creation(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) dress(reinterpret_cast<HWND>(wparam));
    return CallNextHookEx(creation_hook.get(), code, wparam, lparam);
}

BOOL CALLBACK dress_child(HWND child, LPARAM) {
    dress(child);
    return TRUE;
}

BOOL CALLBACK dress_top_level(HWND window, LPARAM) {
    dress(window);
    EnumChildWindows(window, dress_child, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

#ifdef SKIN_ENGINE_RECORDS
// Test build: notes each call and the unloading next to the library itself.
extern "C" IMAGE_DOS_HEADER __ImageBase;

void record(const char* line, int length) {
    char path[MAX_PATH];
    DWORD used = GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH - 16);
    lstrcpyA(path + used, ".calls.txt");
    UniqueFile file(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written;
    WriteFile(file.get(), line, length, &written, nullptr);
}

void record_call(const BYTE* data, DWORD length, const char* key, DWORD a, DWORD b, DWORD c) {
    // data and key as hexadecimal bytes; key is read up to its zero byte.
    static char line[8192 * 2];
    int used = wsprintfA(line, "data=%s length=%lu key=", data ? "set" : "null", length);
    const char digits[] = "0123456789ABCDEF";
    for (const char* k = key; k && *k && used < 64; ++k) {
        line[used++] = digits[static_cast<BYTE>(*k) >> 4];
        line[used++] = digits[*k & 15];
    }
    used += wsprintfA(line + used, " args=%lu,%lu,%lu bytes=", a, b, c);
    for (DWORD i = 0; data && i < length && used < static_cast<int>(sizeof line) - 4; ++i) {
        line[used++] = digits[data[i] >> 4];
        line[used++] = digits[data[i] & 15];
    }
    line[used++] = '\n';
    record(line, used);
}
#endif

}  // namespace

BOOL WINAPI SkinH_AttachRes(const BYTE* data, DWORD length, const char* key, DWORD reserved1, DWORD reserved2,
                            DWORD reserved3) {
#ifdef SKIN_ENGINE_RECORDS
    record_call(data, length, key, reserved1, reserved2, reserved3);
#else
    (void)key, (void)reserved1, (void)reserved2, (void)reserved3;
#endif
    if (!read_skin(data, length, &skin)) return FALSE;
    label_brush.reset(CreateSolidBrush(skin.label_back));
    edit_brush.reset(CreateSolidBrush(skin.edit_back));
    list_brush.reset(CreateSolidBrush(skin.list_back));
    if (!creation_hook)
        creation_hook.reset(SetWindowsHookExA(WH_CBT, on_window_creation, nullptr, GetCurrentThreadId()));
    EnumThreadWindows(GetCurrentThreadId(), dress_top_level, 0);
    return TRUE;
}

// The hook and the brushes go with their owners when the library is unloaded:
// by FreeLibrary before any window was dressed (nothing may call into the
// library any more), or at process end.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
#ifdef SKIN_ENGINE_RECORDS
    if (reason == DLL_PROCESS_DETACH && !reserved) record("unloaded\n", 9);
#else
    (void)reason, (void)reserved;
#endif
    return TRUE;
}
