// What the program's tests share: the control identifiers as seen from outside,
// and the copy of the program they start.
#pragma once

#include <string>

#include "tests/driver/ui_driver.h"

// Windows control identifiers: 100 for the first control created (按钮1), then
// steps of 10.
namespace id {
constexpr int 按钮1 = 100;
constexpr int 列表框1 = 110;
constexpr int 列表框2 = 120;
constexpr int 编辑框1 = 130;
constexpr int 编辑框2 = 140;
constexpr int 列表框3 = 150;
constexpr int 标签1 = 160;
constexpr int 标签2 = 170;
constexpr int 标签3 = 180;
constexpr int 按钮2 = 190;
constexpr int 标签4 = 200;
}  // namespace id

// The program copied into a folder of its own for this test run, so that what it
// writes next to itself stays out of the build folder.
inline const std::string& pellom_copy() {
    static ui::RunDirectory run_directory(ui::pellom_exe());
    return run_directory.exe();
}

inline ui::Program start_pellom() { return ui::Program::start(pellom_copy()); }
