// Broken stand-ins for SkinH_EL.dll that the program must refuse: one without
// the entry, and one whose entry leaves its arguments on the stack (cdecl).
#include <windows.h>

#ifdef STAND_IN_LEAVES_ARGUMENTS
extern "C" __declspec(dllexport) int __cdecl SkinH_AttachRes(const void*, DWORD, const char*, int, int, int) {
    return 1;
}
#else
extern "C" __declspec(dllexport) int WINAPI SomeOtherEntry() { return 1; }
#endif
