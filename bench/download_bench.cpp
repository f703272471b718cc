// Prints what a download costs next to WinInet alone reading the same body and
// discarding it (the platform's floor), in alternating rounds, and the
// process's peak memory. bench/download_bench.sh runs it beside curl.
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

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
    if (argc < 2) {
        std::fprintf(stderr, "usage: download_bench ADDRESS [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    // The first use of WinInet in a process pays for its start; neither side should.
    platform_read_seconds(argv[1]);
    PROCESS_MEMORY_COUNTERS before = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);

    // Alternating rounds, so that both see the same machine; the ratio of each
    // round's pair resists a busy machine better than the two bests.
    double best = 1e9, best_floor = 1e9;
    std::vector<double> ratios;
    std::uint32_t size = 0;
    for (int round = 0; round < rounds; ++round) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        ByteSet body = http_get_body(Text(argv[1]));
        const double seconds = seconds_since(start);
        size = body.size();
        body = ByteSet();
        const double floor_seconds = platform_read_seconds(argv[1]);
        best = std::min(best, seconds);
        best_floor = std::min(best_floor, floor_seconds);
        ratios.push_back(seconds / floor_seconds);
    }
    PROCESS_MEMORY_COUNTERS after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    std::sort(ratios.begin(), ratios.end());

    const double mb = 1024.0 * 1024.0;
    // Under Wine the peak working set is the true peak (Linux's VmHWM); the
    // peak page-file figure is only the current one.
    std::printf(
        "bytes %u seconds %.3f platform_read_seconds %.3f median_ratio %.2f peak_working_set_MB %.1f "
        "start_working_set_MB %.1f\n",
        size, best, best_floor, ratios[ratios.size() / 2], after.PeakWorkingSetSize / mb,
        before.WorkingSetSize / mb);
    return 0;
}
