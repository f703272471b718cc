// Focus and keys as the user presses them: Tab order, Esc, Enter, closing.
#include <gtest/gtest.h>

#include "tests/app/pellom.h"
#include "tests/driver/ui_driver.h"

namespace {

// The designed focus order; labels and the hidden lists are never in it.
const std::vector<int> focus_order = {id::按钮1, id::编辑框1, id::编辑框2, id::列表框3, id::按钮2};

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        window = program.main_window();
        ASSERT_TRUE(window);
        // The window takes the focus on showing and hands it to 按钮1.
        ASSERT_TRUE(ui::wait_until([&] { return focused() == id::按钮1; }))
            << "the focus is on " << program.focus();
    }
    int focused() const { return GetDlgCtrlID(program.focus()); }
    // Presses and waits until the focus is on the expected control.
    void press_expecting_focus(WORD key, unsigned modifiers, int expected) {
        ui::press(key, modifiers);
        ui::wait_until([&] { return focused() == expected; }, 3000);
        EXPECT_EQ(focused(), expected);
    }

    ui::Program program = start_pellom();
    HWND window = nullptr;
};

TEST_F(Keyboard, TabAndShiftTabRunTheFocusOrderAndWrapAround) {
    for (size_t step = 1; step <= focus_order.size(); ++step)
        press_expecting_focus(VK_TAB, ui::no_modifier, focus_order[step % focus_order.size()]);
    for (size_t step = 1; step <= focus_order.size(); ++step)
        press_expecting_focus(VK_TAB, ui::shift,
                              focus_order[(focus_order.size() - step) % focus_order.size()]);
}

TEST_F(Keyboard, EnterBreaksTheLineInTheResultBoxOnly) {
    HWND result_box = program.control(id::编辑框1);
    HWND address_box = program.control(id::编辑框2);
    std::string address = ui::text_of(address_box);

    // Enter on 按钮1: nothing of the window's own, the focus stays.
    ui::press(VK_RETURN);
    ASSERT_TRUE(ui::settle(window));
    EXPECT_EQ(focused(), id::按钮1);

    press_expecting_focus(VK_TAB, ui::no_modifier, id::编辑框1);
    ui::type(L"ab");
    ui::press(VK_RETURN);
    ui::type(L"c");
    ui::wait_until([&] { return ui::text_of(result_box).size() == 5; }, 3000);
    EXPECT_EQ(ui::text_of(result_box), "ab\r\nc");
    EXPECT_EQ(focused(), id::编辑框1);

    press_expecting_focus(VK_TAB, ui::no_modifier, id::编辑框2);
    ui::press(VK_RETURN);
    ASSERT_TRUE(ui::settle(window));
    EXPECT_EQ(ui::text_of(address_box), address);
    EXPECT_EQ(focused(), id::编辑框2);
    EXPECT_TRUE(program.running());
}

TEST_F(Keyboard, FocusComesBackToTheSameControlOnReactivation) {
    press_expecting_focus(VK_TAB, ui::no_modifier, id::编辑框1);
    press_expecting_focus(VK_TAB, ui::no_modifier, id::编辑框2);

    // Another program's window takes the foreground, then the user comes back.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    SetForegroundWindow(other);
    EXPECT_TRUE(ui::wait_until([&] { return GetForegroundWindow() == other; }, 3000));
    EXPECT_TRUE(ui::wait_until([&] { return program.focus() == nullptr; }, 3000));
    SetForegroundWindow(window);
    EXPECT_TRUE(ui::wait_until([&] { return focused() == id::编辑框2; }, 3000));
    EXPECT_EQ(focused(), id::编辑框2);
    DestroyWindow(other);
}

TEST_F(Keyboard, AnswersTheEndOfSessionQueryWithYes) {
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_TRUE(program.running());
}

// Every way of closing ends the process with exit code 0, whichever control has
// the focus; Esc is not kept by 编辑框1.
struct Closing {
    const char* how;
    int tabs_first;  // focus moves this far along the focus order first
    void (*close)(HWND window);
};

const Closing closings[] = {
    {"Esc on 按钮1", 0, [](HWND) { ui::press(VK_ESCAPE); }},
    {"Esc in 编辑框1", 1, [](HWND) { ui::press(VK_ESCAPE); }},
    {"Esc in 编辑框2", 2, [](HWND) { ui::press(VK_ESCAPE); }},
    {"Esc in 列表框3", 3, [](HWND) { ui::press(VK_ESCAPE); }},
    {"Alt+F4 in 编辑框1", 1, [](HWND) { ui::press(VK_F4, ui::alt); }},
    {"close button", 0, [](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
};

class Closes : public Keyboard, public ::testing::WithParamInterface<Closing> {};

TEST_P(Closes, WithExitCodeZero) {
    for (int tab = 1; tab <= GetParam().tabs_first; ++tab)
        press_expecting_focus(VK_TAB, ui::no_modifier, focus_order[tab]);
    GetParam().close(window);
    EXPECT_EQ(program.exit_code(), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(EveryWay, Closes, ::testing::ValuesIn(closings),
                         [](const auto& info) { return "way" + std::to_string(info.index); });

}  // namespace
