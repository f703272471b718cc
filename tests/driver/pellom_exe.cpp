// Where the build put the program, apart from the rest of the driver: a test
// program that never starts it need not wait for its build.
#include "tests/driver/ui_driver.h"

namespace ui {

std::string pellom_exe() { return windows_path_of(WT_PELLOM_EXE); }

}  // namespace ui
