// The fatal error box: its exact text and caption, and exit code -1 once closed.
#include <gtest/gtest.h>

#include "tests/driver/ui_driver.h"

namespace {

std::string probe_exe() { return ui::windows_path_of(WT_FATAL_REPORT_PROBE_EXE); }

struct Report {
    const char* arguments;
    const char* text;
};

const Report reports[] = {
    {"6 调用DLL命令后发现堆栈错误",
     "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
    // Code 0: no code line.
    {"0 载入启动窗口失败", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
    // No message: no message line; negative codes in decimal.
    {"-5", "运行时出错!\r\n\r\n错误代码：-5\r\n\r\n"},
};

TEST(FatalReport, ShowsItsBoxAndEndsWithMinusOne) {
    for (const Report& report : reports) {
        SCOPED_TRACE(report.arguments);
        ui::Program probe = ui::Program::start(probe_exe(), "", report.arguments);
        HWND box = probe.message_box();
        ASSERT_TRUE(box);
        EXPECT_EQ(ui::text_of(box), "错误");
        EXPECT_EQ(ui::message_box_text(box), report.text);
        EXPECT_TRUE(probe.running()) << "ended before the box was closed";
        ui::close_message_box(box);
        EXPECT_EQ(probe.exit_code(), std::optional<DWORD>(static_cast<DWORD>(-1)));
    }
}

}  // namespace
