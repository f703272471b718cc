// The control operations: the only way the commands read and write the window.
#include "collect/controls.h"

namespace {

struct BoundControl {
    ControlIdentity identity;
    HWND control;
};
BoundControl bound_controls[16];  // the window has eleven
int bound_count = 0;

}  // namespace

void bind_control(ControlIdentity identity, HWND control) {
    if (bound_count < int(sizeof bound_controls / sizeof bound_controls[0]))
        bound_controls[bound_count++] = {identity, control};
}

void unbind_controls() { bound_count = 0; }

HWND control_window(ControlIdentity identity) {
    for (int i = 0; i < bound_count; ++i)
        if (bound_controls[i].identity == identity) return bound_controls[i].control;
    return nullptr;
}

Text read_text(ControlIdentity edit_box) {
    HWND box = control_window(edit_box);
    int length = GetWindowTextLengthA(box);
    if (length <= 0) return Text();
    // The length may overstate the text; what GetWindowTextA copies counts.
    HeapBuffer buffer(static_cast<char*>(heap_alloc(std::size_t(length) + 1)));
    int copied = GetWindowTextA(box, buffer.get(), length + 1);
    return Text(buffer.get(), copied > 0 ? static_cast<std::uint32_t>(copied) : 0);
}

void write_text(ControlIdentity edit_box, const Text& text) {
    SetWindowTextA(control_window(edit_box), text.c_str());
}

void clear_items(ControlIdentity list_box) { SendMessageA(control_window(list_box), LB_RESETCONTENT, 0, 0); }

// A list box of strings gives each new item the value 0 itself: no LB_SETITEMDATA,
// which was one message more per item of a page's tens of thousands.
std::int32_t add_item(ControlIdentity list_box, const Text& text) {
    LRESULT index =
        SendMessageA(control_window(list_box), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return index < 0 ? -1 : static_cast<std::int32_t>(index);
}

std::int32_t item_count(ControlIdentity list_box) {
    return static_cast<std::int32_t>(SendMessageA(control_window(list_box), LB_GETCOUNT, 0, 0));
}

Text item_text(ControlIdentity list_box, std::int32_t index) {
    HWND box = control_window(list_box);
    // LB_ERR for an index outside the list: the empty Text, without counting first.
    LRESULT length = SendMessageA(box, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return Text();
    HeapBuffer buffer(static_cast<char*>(heap_alloc(std::size_t(length) + 1)));
    LRESULT copied =
        SendMessageA(box, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.get()));
    return Text(buffer.get(), copied > 0 ? static_cast<std::uint32_t>(copied) : 0);
}

// The list box handles WM_SETREDRAW itself, so a hidden box stays hidden.
ListRedrawHold::ListRedrawHold(ControlIdentity list_box) : list_box_(list_box) {
    SendMessageA(control_window(list_box_), WM_SETREDRAW, FALSE, 0);
}

ListRedrawHold::~ListRedrawHold() { SendMessageA(control_window(list_box_), WM_SETREDRAW, TRUE, 0); }
