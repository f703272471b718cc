# Cross-build for 32-bit Windows with mingw-w64; test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(WT_TARGET i686-w64-mingw32)
find_program(CMAKE_C_COMPILER ${WT_TARGET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER ${WT_TARGET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER ${WT_TARGET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${WT_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No mingw DLL may be needed next to the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Fail now rather than at the first test when Wine is missing.
find_program(WT_WINE wine)
if(NOT WT_WINE)
    message(FATAL_ERROR "wine not found: run scripts/setup.sh first")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
