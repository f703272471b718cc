// The skin engine's one entry, as the engine defines it and the program binds it
// at run time (by name, from the library it writes next to itself).
#pragma once

#include <windows.h>

// Dresses the calling thread's windows with the skin in data; the bytes are read
// during the call only. Key and the three numbers are reserved (empty and 0).
// A missing or malformed skin changes nothing and gives FALSE.
extern "C" BOOL WINAPI SkinH_AttachRes(const BYTE* data, DWORD length, const char* key, DWORD reserved1,
                                       DWORD reserved2, DWORD reserved3);
