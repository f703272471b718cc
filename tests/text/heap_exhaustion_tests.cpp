// Running out of heap while a value is made ends the program through its fatal
// error box. The test starts itself as a child that asks for more than a 32-bit
// process can have, then reads and answers the child's box like a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "text/text.h"

namespace {

// Started only by the test below: it never returns once the heap refuses.
const char child_filter[] = "HeapExhaustion.DISABLED_ChildMakesATextLargerThanTheAddressSpace";

// Two gigabytes and the terminating zero: no 32-bit heap has a block that big.
constexpr std::uint32_t impossible_length = 0x7FFFFFFE;

class ChildProcess {
public:
    ChildProcess() noexcept = default;
    ~ChildProcess() {
        if (!info_.hProcess) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool start(std::string command_line) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        return CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
    }
    HANDLE handle() const noexcept { return info_.hProcess; }
    DWORD id() const noexcept { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_ = {};
};

std::string class_of(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Through WM_GETTEXT, which the system carries across processes.
std::string text_of(HWND window) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    return std::string(text, copied);
}

struct BoxSearch {
    DWORD process_id;
    HWND box;
};

BOOL CALLBACK take_box_of_process(HWND window, LPARAM search_address) {
    auto* search = reinterpret_cast<BoxSearch*>(search_address);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // Found while still being made, the box has no texts yet; shown, it has.
    if (owner != search->process_id || class_of(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
    search->box = window;
    return FALSE;
}

// The message is the box's one static control that has text (the other is the icon).
BOOL CALLBACK take_message_text(HWND control, LPARAM text_address) {
    if (class_of(control) != "Static") return TRUE;
    std::string text = text_of(control);
    if (text.empty()) return TRUE;
    *reinterpret_cast<std::string*>(text_address) = text;
    return FALSE;
}

HWND wait_for_box(const ChildProcess& child) {
    BoxSearch search = {child.id(), nullptr};
    for (int tries = 0; tries < 600 && !search.box; ++tries) {
        EnumWindows(take_box_of_process, reinterpret_cast<LPARAM>(&search));
        if (!search.box && WaitForSingleObject(child.handle(), 100) == WAIT_OBJECT_0) break;
    }
    return search.box;
}

}  // namespace

TEST(HeapExhaustion, DISABLED_ChildMakesATextLargerThanTheAddressSpace) {
    Text text;
    text.reserve(impossible_length);
    ADD_FAILURE() << "the heap gave " << impossible_length + 1 << " bytes";
}

TEST(HeapExhaustion, ShowsTheBytesAskedForInTheErrorBoxAndEndsWithMinusOne) {
    char program[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, program, MAX_PATH), 0u);
    ChildProcess child;
    ASSERT_TRUE(child.start(std::string("\"") + program + "\" --gtest_also_run_disabled_tests --gtest_filter=" +
                            child_filter));

    HWND box = wait_for_box(child);
    ASSERT_NE(box, nullptr) << "no error box from the child";
    char caption[64] = {};
    GetWindowTextA(box, caption, sizeof caption);
    std::string message;
    EnumChildWindows(box, take_message_text, reinterpret_cast<LPARAM>(&message));
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    EXPECT_STREQ(caption, "错误");
    EXPECT_EQ(message, "运行时出错!\r\n\r\n错误信息：分配 2147483647 字节内存失败!\r\n");
    ASSERT_EQ(WaitForSingleObject(child.handle(), 30000), WAIT_OBJECT_0) << "the child goes on after the box";
    DWORD exit_code = 0;
    GetExitCodeProcess(child.handle(), &exit_code);
    EXPECT_EQ(exit_code, 0xFFFFFFFFu);
}
