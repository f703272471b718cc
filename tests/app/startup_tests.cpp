// What happens before the user first sees the window.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/app/pellom.h"

namespace {

std::uint64_t now_ticks() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

TEST(Startup, RequestsThePromotionalPageBeforeTheWindowIsFirstShown) {
    ui::Program program = start_pellom();
    // Watched without pause: the last moment the window was seen not yet shown.
    std::uint64_t last_seen_hidden = 0, deadline = now_ticks() + 15 * 10000000ull;
    for (std::uint64_t now = now_ticks(); now < deadline; now = now_ticks()) {
        if (program.shown_main_window()) break;
        last_seen_hidden = now;
    }
    ASSERT_TRUE(program.shown_main_window());
    // The shell has started the "browser" by now; it may still be writing.
    ASSERT_TRUE(ui::wait_until([&] { return !program.requested_addresses().empty(); }, 10000));

    std::vector<ui::AddressRequest> requests = program.requested_addresses();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].address, "http://www.example.com/");
    EXPECT_LT(requests[0].requested_at, last_seen_hidden)
        << "the browser was started only after the window had been shown";
    std::printf("browser started %.1f ms before the window was last seen hidden\n",
                (last_seen_hidden - requests[0].requested_at) / 1e4);
}

}  // namespace
