# The same sources for 64-bit Windows: wine64 runs them on kernels that refuse
# 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(WT_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
