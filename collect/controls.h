// The main window's identity and its eleven controls, and the only operations
// through which the commands touch them. The window that creates the controls
// binds each to its identity; the commands never see the window itself.
#pragma once

#include <windows.h>

#include <cstdint>

#include "text/text.h"

using ControlIdentity = std::uint32_t;

constexpr ControlIdentity 窗口 = 0x52010001;

namespace control {
constexpr ControlIdentity 标签4 = 0x16010079;
constexpr ControlIdentity 按钮2 = 0x16010076;
constexpr ControlIdentity 标签3 = 0x1601005f;
constexpr ControlIdentity 标签2 = 0x1601005e;
constexpr ControlIdentity 标签1 = 0x1601005d;
constexpr ControlIdentity 列表框3 = 0x16010051;
constexpr ControlIdentity 编辑框2 = 0x1601004e;
constexpr ControlIdentity 编辑框1 = 0x16010045;
constexpr ControlIdentity 列表框2 = 0x1601003a;
constexpr ControlIdentity 列表框1 = 0x16010039;
constexpr ControlIdentity 按钮1 = 0x16010004;
}  // namespace control

// The controls the commands use, by what they hold.
namespace role {
constexpr ControlIdentity address_box = control::编辑框2;    // the play page's address, as typed
constexpr ControlIdentity result_box = control::编辑框1;     // the ready-to-paste episode list
constexpr ControlIdentity title_list = control::列表框3;     // the series title, shown
constexpr ControlIdentity video_id_list = control::列表框2;  // each episode's video identifier, hidden
constexpr ControlIdentity flag_list = control::列表框1;      // each episode's flag, hidden
}  // namespace role

// Called by the window as it creates each control, and once its controls are
// gone; until then, and after, every identity names no control.
void bind_control(ControlIdentity identity, HWND control);
void unbind_controls();
// Null for an identity that names no bound control.
HWND control_window(ControlIdentity identity);

// Edit boxes.
Text read_text(ControlIdentity edit_box);
void write_text(ControlIdentity edit_box, const Text& text);

// List boxes; indexes are 0-based.
void clear_items(ControlIdentity list_box);
std::int32_t add_item(ControlIdentity list_box, const Text& text);
std::int32_t item_count(ControlIdentity list_box);
Text item_text(ControlIdentity list_box, std::int32_t index);

// While one lives, the list box does not redraw or update its scroll bar after
// every added item; it catches up once when the hold ends. For long fills.
class ListRedrawHold {
public:
    explicit ListRedrawHold(ControlIdentity list_box);
    ListRedrawHold(const ListRedrawHold&) = delete;
    ListRedrawHold& operator=(const ListRedrawHold&) = delete;
    ~ListRedrawHold();

private:
    ControlIdentity list_box_;
};
