// Raises the fatal report with the code and message given on its command line,
// so that a test can read the box and the exit code as the user would meet them.
#include <windows.h>

#include <cstdlib>

#include "runtime/fatal_report.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 2) return 1;
    report_runtime_error(std::atoi(__argv[1]), __argc > 2 ? __argv[2] : nullptr);
}
