// The fatal error box and the end of the process that follows it.
#include "runtime/fatal_report.h"

#include <windows.h>

#include <cstdio>

#include "runtime/external_function_table.h"

void report_runtime_error(std::int32_t code, const char* message) {
    // Built on the stack: this also reports an exhausted heap.
    char report[1024];
    int used = std::snprintf(report, sizeof report, "运行时出错!\r\n\r\n");
    if (code != 0)
        used += std::snprintf(report + used, sizeof report - used, "错误代码：%d\r\n\r\n",
                              static_cast<int>(code));
    if (message && *message) std::snprintf(report + used, sizeof report - used, "错误信息：%s\r\n", message);
    // Task-modal: the window must take no click while the process is ending,
    // or a handler could run again inside the very failure being reported.
    MessageBoxA(nullptr, report, "错误", MB_ICONERROR | MB_TASKMODAL);
    release_external_libraries();
    ExitProcess(static_cast<UINT>(-1));
}
