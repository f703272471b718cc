// Running out of heap while a value is made ends the program through its fatal
// error box, which shows the bytes that were asked for. The test starts itself as
// a child that asks for more than a 32-bit process can have (64-bit builds link
// a heap bounded alike), then reads and answers the child's box like a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/driver/ui_driver.h"
#include "text/text.h"

namespace {

// Started only by the test below: it never returns once the heap refuses.
const char child_filter[] = "HeapExhaustion.DISABLED_ChildMakesATextOfTheLengthInItsEnvironment";
const char length_variable[] = "WT_TEXT_LENGTH";

// A Text of some length asks the heap for that many bytes and one for the zero.
struct Request {
    std::uint32_t length;
    std::string bytes_shown;
};

const Request requests[] = {
    {0x7FFFFFFE, "2147483647"},
    {0x9FFFFFFF, "2684354560"},  // past 2 GiB: must not come out negative
    // No room for the zero within 32 bits: refused as the largest request of all.
    {0xFFFFFFFF, std::to_string(SIZE_MAX)},
};

}  // namespace

TEST(HeapExhaustion, DISABLED_ChildMakesATextOfTheLengthInItsEnvironment) {
    char length[16] = {};
    GetEnvironmentVariableA(length_variable, length, sizeof length);
    Text text;
    text.reserve(static_cast<std::uint32_t>(std::strtoul(length, nullptr, 10)));
    ADD_FAILURE() << "the heap gave room for a Text of " << length << " bytes";
}

TEST(HeapExhaustion, ShowsTheBytesAskedForInTheErrorBoxAndEndsWithMinusOne) {
    char self[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    for (const Request& request : requests) {
        SCOPED_TRACE(request.bytes_shown);
        SetEnvironmentVariableA(length_variable, std::to_string(request.length).c_str());
        ui::Program child = ui::Program::start(
            self, "", std::string("--gtest_also_run_disabled_tests --gtest_filter=") + child_filter);

        HWND box = child.message_box(60000);
        ASSERT_NE(box, nullptr) << "no error box from the child";
        EXPECT_EQ(ui::text_of(box), "错误");
        EXPECT_EQ(ui::message_box_text(box),
                  "运行时出错!\r\n\r\n错误信息：分配 " + request.bytes_shown + " 字节内存失败!\r\n");
        ui::close_message_box(box);
        std::optional<DWORD> exit_code = child.exit_code(30000);
        ASSERT_TRUE(exit_code) << "the child goes on after the box";
        EXPECT_EQ(*exit_code, 0xFFFFFFFFu);
    }
    SetEnvironmentVariableA(length_variable, nullptr);
}
