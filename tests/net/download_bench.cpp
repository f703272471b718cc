// Prints what one download costs: bytes, seconds, MB/s and the process's peak
// memory. scripts/bench-download.sh runs it beside curl on the same bodies.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "net/http_get_body.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: download_bench ADDRESS\n");
        return 2;
    }
    PROCESS_MEMORY_COUNTERS before = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    ByteSet body = http_get_body(Text(argv[1]));
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);

    double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    const double mb = 1024.0 * 1024.0;
    std::printf("bytes %u seconds %.3f MB/s %.1f peak_working_set_MB %.1f peak_pagefile_MB %.1f "
                "start_pagefile_MB %.1f\n",
                body.size(), seconds, seconds > 0 ? body.size() / mb / seconds : 0.0,
                after.PeakWorkingSetSize / mb, after.PeakPagefileUsage / mb,
                before.PagefileUsage / mb);
    return 0;
}
