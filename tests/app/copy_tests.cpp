// The copy button as the user uses it: what lands on the clipboard, and when the
// confirmation appears.
#include <gtest/gtest.h>

#include <cstring>

#include "collect/commands.h"
#include "tests/app/pellom.h"
#include "tests/driver/ui_driver.h"

namespace {

class Copy : public ::testing::Test {
protected:
    void SetUp() override {
        window = program.main_window();
        ASSERT_TRUE(window);
        ASSERT_TRUE(ui::put_clipboard("what the user had before"));
    }
    // Clicks 复制 and expects the confirmation; leaves the box closed.
    void copy_expecting_confirmation() {
        ui::click(program.control(id::按钮2));
        HWND box = program.message_box();
        ASSERT_TRUE(box) << "no confirmation box";
        EXPECT_EQ(ui::text_of(box), "Pellom提醒：");
        EXPECT_EQ(ui::message_box_text(box), "复制成功");
        // Task-modal: the main window takes no input while the box is up.
        EXPECT_FALSE(IsWindowEnabled(window));
        ui::close_message_box(box);
        EXPECT_TRUE(ui::wait_until([&] { return IsWindowEnabled(window) != 0; }));
    }

    void focus_result_box() {
        ASSERT_TRUE(ui::wait_until([&] { return GetDlgCtrlID(program.focus()) == id::按钮1; }));
        ui::press(VK_TAB);
        ASSERT_TRUE(ui::wait_until([&] { return GetDlgCtrlID(program.focus()) == id::编辑框1; }, 3000));
    }

    ui::Program program = start_pellom();
    HWND window = nullptr;
};

// The episode list as the user might have put it together: lines pasted and
// typed, GBK and ASCII.
const std::string episode_list = "第1集$XMjMyMDQ3OTQ0\r\n第2集$XMjMyMDQ4MDA4\r\n";

TEST_F(Copy, PutsTheResultBoxOnTheClipboardByteForByte) {
    focus_result_box();
    ASSERT_TRUE(ui::put_clipboard("第1集$XMjMyMDQ3OTQ0\r\n第2集$"));
    ui::press('V', ui::ctrl);
    ui::type(L"XMjMyMDQ4MDA4");
    ui::press(VK_RETURN);
    HWND result_box = program.control(id::编辑框1);
    ASSERT_TRUE(ui::wait_until([&] { return ui::text_of(result_box) == episode_list; }, 5000))
        << ui::text_of(result_box);

    ASSERT_TRUE(ui::put_clipboard("what the user had before"));
    copy_expecting_confirmation();
    std::optional<ui::ClipboardText> copied = ui::clipboard_text();
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->text, episode_list);
    EXPECT_EQ(copied->text.substr(0, 2), "\xB5\xDA");  // 第 in GBK, not UTF-8
    EXPECT_EQ(copied->block_size, episode_list.size() + 1);

    // A second click replaces the clipboard with the same text and confirms again.
    ASSERT_TRUE(ui::put_clipboard("changed meanwhile"));
    copy_expecting_confirmation();
    copied = ui::clipboard_text();
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->text, episode_list);
}

// Typed characters pass the skin engine's procedures too: an ANSI one would hand
// the edit box each GBK character as two separate bytes under Wine.
TEST_F(Copy, CopiesTypedGbkCharacters) {
    focus_result_box();
    ui::type(L"第1集$XMjMyMDQ3OTQ0\r第2集$XMjMyMDQ4MDA4\r");
    HWND result_box = program.control(id::编辑框1);
    ASSERT_TRUE(ui::wait_until([&] { return ui::text_of(result_box) == episode_list; }, 5000))
        << ui::text_of(result_box);
    copy_expecting_confirmation();
    std::optional<ui::ClipboardText> copied = ui::clipboard_text();
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->text, episode_list);
}

TEST_F(Copy, AnEmptyResultBoxPutsTheEmptyText) {
    copy_expecting_confirmation();
    std::optional<ui::ClipboardText> copied = ui::clipboard_text();
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->text, "");
    EXPECT_EQ(copied->block_size, 1u);
}

TEST_F(Copy, AClipboardHeldByAnotherProgramChangesNothingAndShowsNoBox) {
    ui::set_text(program.control(id::编辑框1), "第1集$abc\r\n");
    {
        ui::ClipboardHold hold;
        ASSERT_TRUE(hold.held());
        // Sent, not posted: returns once the click handler has finished.
        EXPECT_TRUE(ui::click_and_wait(program.control(id::按钮2), 10000))
            << "the click handler did not return: a box is waiting";
        EXPECT_EQ(program.message_box(500), nullptr);
    }
    std::optional<ui::ClipboardText> kept = ui::clipboard_text();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text, "what the user had before");
    EXPECT_TRUE(IsWindowEnabled(window));
}

}  // namespace

namespace {

// The same operations called in this process, for what a click cannot reach.
TEST(PutClipboardText, HandsOverExactlyTheTextAndItsZero) {
    for (const char* text : {"", "第1集$abc\r\n", "x"}) {
        ASSERT_TRUE(put_clipboard_text(Text(text))) << text;
        std::optional<ui::ClipboardText> copied = ui::clipboard_text();
        ASSERT_TRUE(copied);
        EXPECT_EQ(copied->text, text);
        EXPECT_EQ(copied->block_size, std::strlen(text) + 1);
    }
}

struct Answer {
    std::uint32_t flags;
    int pressed;  // the box's own button identifier
    int expected;
};

// The box is answered from a second thread while show_message waits in this one.
DWORD WINAPI answer_box(void* answer) {
    HWND box = nullptr;
    ui::wait_until(
        [&] { return (box = FindWindowExA(nullptr, nullptr, "#32770", "Pellom测试")) != nullptr; });
    if (box) PostMessageA(box, WM_COMMAND, MAKEWPARAM(static_cast<Answer*>(answer)->pressed, 0), 0);
    return 0;
}

TEST(ShowMessage, NumbersTheButtonsFromZero) {
    Answer answers[] = {
        {MB_OK, IDOK, 0},
        {MB_OKCANCEL, IDCANCEL, 1},
        {MB_ABORTRETRYIGNORE, IDIGNORE, 4},
        {MB_YESNO, IDNO, 6},
        {MB_YESNO | MB_SYSTEMMODAL, IDYES, 5},
    };
    for (Answer& answer : answers) {
        HANDLE answerer = CreateThread(nullptr, 0, answer_box, &answer, 0, nullptr);
        EXPECT_EQ(show_message(Text("问题"), answer.flags, Text("Pellom测试")), answer.expected)
            << std::hex << answer.flags;
        WaitForSingleObject(answerer, INFINITE);
        CloseHandle(answerer);
    }
}

}  // namespace
