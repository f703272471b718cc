// Stands in for the web browser in tests: the shell's http handler while a test
// drives the program. It notes each address with the moment the shell started it
// and opens nothing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>  // __argc, __argv

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char record_file[MAX_PATH];
    if (!GetEnvironmentVariableA("WT_BROWSER_RECORD", record_file, sizeof record_file)) return 0;
    if (__argc < 2) return 1;

    // The creation time of this process is when the shell handed the address on.
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    unsigned long long ticks =
        (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;

    // Only into a record the driver made: one started after its test has ended
    // leaves nothing behind.
    HANDLE record = CreateFileA(record_file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (record == INVALID_HANDLE_VALUE) return 1;
    char line[2200];
    int length = std::snprintf(line, sizeof line, "%llu %s\n", ticks, __argv[1]);
    DWORD written;
    WriteFile(record, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(record);
    return 0;
}
