// The fatal error report: the one way the program ends on an error.
#pragma once

#include <cstdint>

// Shows "运行时出错!" with the code and message, releases the bound libraries and
// ends the process with exit code -1. The message is GBK; null counts as empty.
[[noreturn]] void report_runtime_error(std::int32_t code, const char* message);
