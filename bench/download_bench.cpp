// Prints what one download costs: bytes, seconds, MB/s and the process's peak
// memory, then what WinInet alone takes to read the same body and discard it
// (the platform's floor). bench/download_bench.sh runs it beside curl.
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>

#include "net/http_get_body.h"

namespace {

double seconds_since(const LARGE_INTEGER& start) {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// The same GET through WinInet with the largest chunk, keeping nothing.
double platform_read_seconds(const char* address) {
    static char chunk[102400];
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    HINTERNET session = InternetOpenA("bench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET request = InternetOpenUrlA(session, address, nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    DWORD count = 0;
    while (request && InternetReadFile(request, chunk, sizeof chunk, &count) && count > 0) {}
    if (request) InternetCloseHandle(request);
    if (session) InternetCloseHandle(session);
    return seconds_since(start);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: download_bench ADDRESS\n");
        return 2;
    }
    PROCESS_MEMORY_COUNTERS before = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    ByteSet body = http_get_body(Text(argv[1]));
    double seconds = seconds_since(start);
    PROCESS_MEMORY_COUNTERS after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    std::uint32_t size = body.size();
    body = ByteSet();
    double floor_seconds = platform_read_seconds(argv[1]);

    const double mb = 1024.0 * 1024.0;
    std::printf(
        "bytes %u seconds %.3f MB/s %.1f peak_working_set_MB %.1f peak_pagefile_MB %.1f "
        "start_pagefile_MB %.1f platform_read_seconds %.3f\n",
        size, seconds, seconds > 0 ? size / mb / seconds : 0.0, after.PeakWorkingSetSize / mb,
        after.PeakPagefileUsage / mb, before.PagefileUsage / mb, floor_seconds);
    return 0;
}
