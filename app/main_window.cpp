// The main window: creation from the design table, its window procedure, and the
// focus bookkeeping that a plain window (not a dialog) has to do itself.
#include "app/main_window.h"

#include "app/control_identifiers.h"
#include "app/label.h"
#include "app/resource.h"
#include "app/startup_actions.h"
#include "app/window_design.h"
#include "collect/commands.h"
#include "runtime/fatal_report.h"
#include "win/handles.h"
#include "win/paint.h"

#include <algorithm>
#include <utility>

namespace {

struct MainWindow {
    HWND window = nullptr;
    HWND controls[control_count] = {};  // by row of control_designs
    HWND focus_at_deactivation = nullptr;
    UniqueFont height_21_font;
    UniqueFont height_20_font;
    UniqueIcon big_icon;
    UniqueIcon small_icon;
};
MainWindow the_window;

[[noreturn]] void window_not_creatable() { report_runtime_error(0, "载入启动窗口失败"); }

// The system picks the face for an empty face name; any face that renders GBK
// text at the height serves.
UniqueFont make_font(LONG height) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    return UniqueFont(CreateFontIndirectA(&font));
}

HFONT font_of(ControlFont font) {
    switch (font) {
    case ControlFont::height_21: return the_window.height_21_font.get();
    case ControlFont::height_20: return the_window.height_20_font.get();
    case ControlFont::default_gui: break;
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

const char* class_of(ControlKind kind) {
    switch (kind) {
    case ControlKind::label: return label_class_name;
    case ControlKind::push_button: return "BUTTON";
    case ControlKind::edit_box: return "EDIT";
    case ControlKind::list_box: return "LISTBOX";
    }
    return nullptr;
}

// What each kind sets up right after creation, once its font is in place.
void prepare_control(HWND control, ControlKind kind) {
    switch (kind) {
    case ControlKind::edit_box:
        SendMessageA(control, EM_LIMITTEXT, 0, 0);
        SendMessageA(control, EM_SETSEL, 0, 0);
        SendMessageA(control, EM_SCROLLCARET, 0, 0);
        break;
    case ControlKind::list_box: {
        LRESULT font_height = SendMessageA(control, LB_GETITEMHEIGHT, 0, 0);
        SendMessageA(control, LB_SETITEMHEIGHT, 0, MAKELPARAM(font_height + 1, 0));
        SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        break;
    }
    case ControlKind::label:
    case ControlKind::push_button: break;
    }
}

HWND create_control(const ControlDesign& design, HINSTANCE instance) {
    HWND control = CreateWindowExA(design.extended_style, class_of(design.kind), design.text, design.style,
                                   design.left, design.top, design.width, design.height, the_window.window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.control_identifier)),
                                   instance, nullptr);
    if (!control) return nullptr;
    bind_control(design.identity, control);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_of(design.font)), FALSE);
    prepare_control(control, design.kind);
    return control;
}

void create_controls(HINSTANCE instance) {
    the_window.height_21_font = make_font(-21);
    the_window.height_20_font = make_font(-20);
    for (int row = control_count - 1; row >= 0; --row) {
        the_window.controls[row] = create_control(control_designs[row], instance);
        if (!the_window.controls[row]) window_not_creatable();
    }
    // The stored order is the z-order, the first row on top.
    HWND above = HWND_TOP;
    for (HWND control : the_window.controls) {
        SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control;
    }
    for (int row = 0; row < control_count; ++row)
        ShowWindow(the_window.controls[row], control_designs[row].visible ? SW_SHOWNA : SW_HIDE);
}

void set_icons(HINSTANCE instance) {
    the_window.big_icon.reset(
        static_cast<HICON>(LoadImageA(instance, default_icon_name, IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    the_window.small_icon.reset(
        static_cast<HICON>(LoadImageA(instance, default_icon_name, IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    SendMessageA(the_window.window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(the_window.big_icon.get()));
    SendMessageA(the_window.window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(the_window.small_icon.get()));
}

bool focusable(int row) {
    HWND control = the_window.controls[row];
    return control_designs[row].kind != ControlKind::label && IsWindow(control) && IsWindowVisible(control) &&
           IsWindowEnabled(control) && (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP);
}

// Rows of the focusable controls by tab-order number; among equal numbers the
// row stored last comes first.
int focus_order(int (&rows)[control_count]) {
    int count = 0;
    for (int row = control_count - 1; row >= 0; --row)
        if (focusable(row)) rows[count++] = row;
    for (int i = 1; i < count; ++i)  // stable: keeps the tie order above
        for (int j = i; j > 0 && control_designs[rows[j - 1]].tab_order > control_designs[rows[j]].tab_order;
             --j)
            std::swap(rows[j - 1], rows[j]);
    return count;
}

HWND first_focusable_control() {
    int rows[control_count];
    return focus_order(rows) ? the_window.controls[rows[0]] : nullptr;
}

void paint_window(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

void on_command(int control_identifier, int notification) {
    if (notification != BN_CLICKED) return;
    switch (control_identifier) {
    case control_id::按钮1: collect(); break;
    case control_id::按钮2: copy_result(); break;
    }
}

// Edit and list boxes: black text on white.
LRESULT on_control_colour(HDC dc) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

void on_activate(int state) {
    if (state != WA_INACTIVE) return;
    HWND focus = GetFocus();
    if (focus && IsChild(the_window.window, focus)) the_window.focus_at_deactivation = focus;
}

// The window itself never keeps the focus: it goes back to the control that had
// it at deactivation, or else to the first in focus order.
void on_set_focus() {
    HWND target = the_window.focus_at_deactivation;
    if (!target || !IsWindow(target) || !IsChild(the_window.window, target))
        target = first_focusable_control();
    if (target) SetFocus(target);
}

// The system caps a window's size at the screen's, frame included; the designed
// size holds on a smaller screen too.
void on_get_min_max_info(MINMAXINFO* limits) {
    limits->ptMaxTrackSize.x = std::max<LONG>(limits->ptMaxTrackSize.x, main_window_design.width);
    limits->ptMaxTrackSize.y = std::max<LONG>(limits->ptMaxTrackSize.y, main_window_design.height);
}

void on_destroy() { PostQuitMessage(0); }

// The controls are gone by now, so their fonts and the icons can go too.
void on_final_destroy() {
    unbind_controls();
    the_window = MainWindow{};
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: paint_with(window, paint_window); return 0;
    case WM_PRINTCLIENT: paint_window(window, reinterpret_cast<HDC>(wparam)); return 0;
    case WM_COMMAND: on_command(LOWORD(wparam), HIWORD(wparam)); return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return on_control_colour(reinterpret_cast<HDC>(wparam));
    case WM_ACTIVATE: on_activate(LOWORD(wparam)); break;
    case WM_SETFOCUS: on_set_focus(); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: on_destroy(); return 0;
    case WM_NCDESTROY: on_final_destroy(); break;
    case WM_GETMINMAXINFO: on_get_min_max_info(reinterpret_cast<MINMAXINFO*>(lparam)); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool register_window_class(HINSTANCE instance) {
    return register_self_painted_class(instance, main_window_design.class_name, window_procedure);
}

}  // namespace

void create_main_window(HINSTANCE instance) {
    if (!register_window_class(instance) || !register_label_class(instance)) window_not_creatable();

    const WindowDesign& design = main_window_design;
    // Centred on the primary screen; the division truncates toward zero, so a
    // small screen gives a negative left.
    int left = (GetSystemMetrics(SM_CXSCREEN) - design.width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - design.height) / 2;
    the_window.window = CreateWindowExA(0, design.class_name, design.caption, design.style, left, top,
                                        design.width, design.height, nullptr, nullptr, instance, nullptr);
    if (!the_window.window) window_not_creatable();

    RECT outer;
    GetWindowRect(the_window.window, &outer);
    if (outer.right - outer.left != design.width || outer.bottom - outer.top != design.height)
        MoveWindow(the_window.window, left, top, design.width, design.height, FALSE);
    set_icons(instance);
    SendMessageA(the_window.window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    create_controls(instance);

    // The created event: the page is requested and the skin applied before the
    // user first sees the window.
    startup_actions();
    if (the_window.window) ShowWindow(the_window.window, SW_SHOW);
}

HWND main_window() { return the_window.window; }

void move_focus(bool backwards) {
    int rows[control_count];
    int count = focus_order(rows);
    if (count == 0) return;
    HWND focus = GetFocus();
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (the_window.controls[rows[i]] == focus) at = i;
    int next = at < 0 ? 0 : (at + (backwards ? count - 1 : 1)) % count;
    SetFocus(the_window.controls[rows[next]]);
}
