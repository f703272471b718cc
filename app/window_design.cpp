// The design data of the main window in one table, so that a change of place,
// text or style is a change of one row.
#include "app/window_design.h"

#include "app/control_identifiers.h"

namespace {

constexpr DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
constexpr DWORD label = child;
constexpr DWORD push_button = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | child | WS_TABSTOP;
constexpr DWORD edit_box = ES_LEFT | child | WS_TABSTOP;
// Wraps at the box's width and scrolls only with the caret: no ES_AUTOHSCROLL,
// no scroll bars.
constexpr DWORD multi_line = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
// Items stay in the order they are added: do NOT add LBS_SORT.
constexpr DWORD list_box =
    LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | child | WS_TABSTOP;
constexpr DWORD sunken = WS_EX_CLIENTEDGE;

using K = ControlKind;
using F = ControlFont;
namespace id = control_id;

}  // namespace

const char* const label_class_name = "WTLabel";

const WindowDesign main_window_design = {
    "WTWindow",
    "Pellom【Narvique】  联系QQ   00000000",  // a placeholder number: no real account
    1381,
    702,
    // Fixed frame: do NOT add WS_THICKFRAME or WS_MAXIMIZEBOX.
    WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
};

// clang-format off
const ControlDesign control_designs[control_count] = {
//   identity           Windows id    kind           left top  width height text
    {control::标签4,   id::标签4,    K::label,       456,  24, 528,  72, "说明：输入播放页链接 然后点采集  即可",
        label, 0, F::default_gui, true, 0},
    {control::按钮2,   id::按钮2,    K::push_button, 592, 504, 152,  48, "复制",
        push_button, 0, F::default_gui, true, 0},
    {control::标签3,   id::标签3,    K::label,       400, 576,  72,  80, "播放页地址",
        label, 0, F::default_gui, true, 0},
    {control::标签2,   id::标签2,    K::label,       432, 112, 224,  48, "",
        label, 0, F::default_gui, true, 0},
    {control::标签1,   id::标签1,    K::label,        16,   8,  72,  32, "电视剧名字：",
        label, 0, F::default_gui, true, 0},
    {control::列表框3, id::列表框3,  K::list_box,     96,   8, 288,  64, "",
        list_box, sunken, F::height_20, true, 0},
    {control::编辑框2, id::编辑框2,  K::edit_box,    480, 576, 592,  72, "http://v.example.com/v_show/id_XMjMyMDQ3OTQ0.html",
        edit_box | ES_AUTOHSCROLL, sunken, F::height_21, true, 0},
    {control::编辑框1, id::编辑框1,  K::edit_box,     96, 120, 304, 552, "",
        edit_box | multi_line, sunken, F::default_gui, true, 0},
    // 列表框2 and 列表框1 only hold the collection's working items: never shown.
    {control::列表框2, id::列表框2,  K::list_box,    104, 456, 232,  40, "",
        list_box, sunken, F::default_gui, false, 0},
    {control::列表框1, id::列表框1,  K::list_box,     32, 440,  32,  56, "",
        list_box, sunken, F::default_gui, false, 0},
    {control::按钮1,   id::按钮1,    K::push_button, 432, 488, 144,  72, "点我采集",
        push_button, 0, F::default_gui, true, 0},
};
// clang-format on
