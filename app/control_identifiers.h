// The Windows control identifiers of the main window's controls: what WM_COMMAND
// carries in LOWORD(wParam) and GetDlgCtrlID gives. The design table sets them
// and the tests that drive the program from outside find the controls by them.
#pragma once

namespace control_id {
constexpr int 按钮1 = 100;    // 点我采集: the collect command
constexpr int 列表框1 = 110;  // the episodes' flags, hidden
constexpr int 列表框2 = 120;  // the episodes' video identifiers, hidden
constexpr int 编辑框1 = 130;  // the episode list, the result
constexpr int 编辑框2 = 140;  // the play page's address
constexpr int 列表框3 = 150;  // the series title
constexpr int 标签1 = 160;
constexpr int 标签2 = 170;
constexpr int 标签3 = 180;
constexpr int 按钮2 = 190;  // 复制: the copy command
constexpr int 标签4 = 200;
}  // namespace control_id
