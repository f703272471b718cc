# Cross-build for Windows with mingw-w64; test programs run under Wine.
# The target triple comes from the toolchain file that includes this one.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_C_COMPILER ${WT_TARGET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER ${WT_TARGET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER ${WT_TARGET}-windres REQUIRED)
find_program(WT_OBJDUMP ${WT_TARGET}-objdump REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${WT_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No mingw DLL may be needed next to the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Fail now rather than at the first test when Wine is missing. wine-run picks the
# loader that fits each program's machine, never the launcher script's guess.
find_program(WT_WINE wine)
if(NOT WT_WINE)
    message(FATAL_ERROR "wine not found: run scripts/setup.sh first")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
