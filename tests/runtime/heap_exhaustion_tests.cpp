// Running out of heap while a value is made ends the program through its fatal
// error box. The test starts itself as a child that asks for more than a 32-bit
// process can have, then reads and answers the child's box like a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/driver/ui_driver.h"
#include "text/text.h"

namespace {

// Started only by the test below: it never returns once the heap refuses.
const char child_filter[] = "HeapExhaustion.DISABLED_ChildMakesATextLargerThanTheAddressSpace";

// Two gigabytes and the terminating zero: no 32-bit heap has a block that big.
constexpr std::uint32_t impossible_length = 0x7FFFFFFE;

}  // namespace

TEST(HeapExhaustion, DISABLED_ChildMakesATextLargerThanTheAddressSpace) {
    Text text;
    text.reserve(impossible_length);
    ADD_FAILURE() << "the heap gave " << impossible_length + 1 << " bytes";
}

TEST(HeapExhaustion, ShowsTheBytesAskedForInTheErrorBoxAndEndsWithMinusOne) {
    char self[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    ui::Program child = ui::Program::start(
        self, "", std::string("--gtest_also_run_disabled_tests --gtest_filter=") + child_filter);

    HWND box = child.message_box(60000);
    ASSERT_NE(box, nullptr) << "no error box from the child";
    EXPECT_EQ(ui::text_of(box), "错误");
    EXPECT_EQ(ui::message_box_text(box), "运行时出错!\r\n\r\n错误信息：分配 2147483647 字节内存失败!\r\n");
    ui::close_message_box(box);
    std::optional<DWORD> exit_code = child.exit_code(30000);
    ASSERT_TRUE(exit_code) << "the child goes on after the box";
    EXPECT_EQ(*exit_code, 0xFFFFFFFFu);
}
