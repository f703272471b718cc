// What the program's tests share: the control identifiers as seen from outside,
// and the copy of the program they start.
#pragma once

#include <string>

#include "app/control_identifiers.h"
#include "tests/driver/ui_driver.h"

namespace id = control_id;

// The program copied into a folder of its own for this test run, so that what it
// writes next to itself stays out of the build folder.
inline const std::string& pellom_copy() {
    static ui::RunDirectory run_directory(ui::pellom_exe());
    return run_directory.exe();
}

inline ui::Program start_pellom() { return ui::Program::start(pellom_copy()); }
