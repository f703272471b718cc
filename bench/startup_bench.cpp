// Not a test: prints how long the program takes from its process start to its
// window first shown, under whatever Wine and display it runs on.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/app/pellom.h"

namespace {

double now_ms() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * count.QuadPart / frequency.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        double started = now_ms();
        ui::Program program = start_pellom();
        HWND window = nullptr;
        // Watched without pause, so the figure is not rounded up to a poll interval.
        while (!window && now_ms() - started < 30000) window = program.shown_main_window();
        double shown = now_ms();
        if (!window) {
            std::printf("run %d: no window within 30 s\n", run + 1);
            return 1;
        }
        times.push_back(shown - started);
        PostMessageA(window, WM_CLOSE, 0, 0);
        program.exit_code();
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "start to window shown over %d runs (first run writes the skin engine): "
        "min %.0f ms, median %.0f ms, max %.0f ms\n",
        runs, times.front(), times[times.size() / 2], times.back());
}
