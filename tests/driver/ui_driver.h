// Drives the real program from a test as its user would: start it as its own
// process, find its window and controls, type, click, press keys, read what it
// shows, its clipboard and message boxes, and wait for its exit code.
//
// Use, in a GoogleTest program run under Wine on the same display (link
// wt_ui_driver, and wt_pellom_exe to know where the build put pellom.exe):
//
//     ui::RunDirectory run(ui::pellom_exe());         // a copy in a fresh folder
//     ui::Program program = ui::Program::start(run.exe());
//     HWND window = program.main_window();           // waits until it is shown
//     HWND edit = program.control(130);              // by control identifier
//     ui::set_text(edit, "第1集");                    // texts are GBK, as the program's
//     ui::press(VK_TAB, ui::shift);                   // to the foreground window
//     ui::click(program.control(190));                // posted: returns at once
//     HWND box = program.message_box();               // a "#32770" of the process
//     EXPECT_EQ(ui::message_box_text(box), "复制成功");
//     ui::close_message_box(box);
//     ui::press(VK_ESCAPE);
//     EXPECT_EQ(program.exit_code(), std::optional<DWORD>(0));
//
// Keys go through SendInput, so the program's own loop sees them as a user's
// (modifier state included); typing GBK into an edit box works only while
// nothing has subclassed it with an ANSI procedure (Wine splits the character).
// Fonts and icons cannot be asked of another process under Wine (WM_GETFONT and
// WM_GETICON answer 0): judge them by what they draw.
//
// While any Program lives, the prefix's http handler (HKCR\http\shell\open\command)
// is browser_recorder.exe, so no real browser is ever started; the prefix's own
// command is put back after the last one. requested_addresses() gives what the
// program asked the shell to open. A Program still running at destruction is
// terminated. Waits take a time-out in milliseconds and report failure as a
// null/false/nullopt result instead of hanging the test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ui {

constexpr DWORD default_wait_ms = 15000;

// The built program (from wt_pellom_exe) and the recorder, as Windows paths
// (Z:\... under Wine).
std::string pellom_exe();
std::string browser_recorder_exe();
// A Unix path as Wine sees it: "/work/x" gives "Z:\work\x".
std::string windows_path_of(const std::string& unix_path);

// One address the program handed to the shell, and when the shell started the
// "browser" for it (the recorder's process creation time).
struct AddressRequest {
    std::string address;
    std::uint64_t requested_at;  // FILETIME ticks
};

class Program {
public:
    // Starts exe with working_directory as its current directory (the exe's
    // folder when empty) and the arguments after its name (ANSI, as typed on a
    // command line). A failed start fails the calling test.
    static Program start(const std::string& exe, const std::string& working_directory = "",
                         const std::string& arguments = "");
    Program(Program&& other) noexcept;
    Program& operator=(Program&&) = delete;
    Program(const Program&) = delete;
    ~Program();

    DWORD process_id() const { return process_id_; }
    DWORD thread_id() const { return thread_id_; }
    HANDLE process() const { return process_; }

    // The top-level "WTWindow" of the process once visible; null after the wait.
    HWND main_window(DWORD wait_ms = default_wait_ms);
    // That window if it is shown at this moment, else null: one look, no pause,
    // for watching the moment it comes up.
    HWND shown_main_window() const;
    // A control of the main window by its Windows control identifier, or by its
    // class (as GetClassName gives it) and top-left corner in the client area.
    HWND control(int control_identifier);
    HWND control_at(const std::string& class_name, int left, int top);
    // A visible "#32770" window of the process (a message box); null after the wait.
    HWND message_box(DWORD wait_ms = default_wait_ms) const;
    // The control that has the keyboard focus in the program's GUI thread.
    HWND focus() const;

    bool running() const;
    // The exit code, or nullopt when the process is still running after the wait.
    std::optional<DWORD> exit_code(DWORD wait_ms = default_wait_ms) const;

    std::vector<AddressRequest> requested_addresses() const;

private:
    Program() = default;
    HANDLE process_ = nullptr;
    DWORD process_id_ = 0;
    DWORD thread_id_ = 0;
    HWND main_window_ = nullptr;
    std::string record_file_;
};

// Polls until the condition holds; false when the time ran out.
template <class Condition>
bool wait_until(Condition condition, DWORD wait_ms = default_wait_ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > wait_ms) return false;
        Sleep(10);
    }
}

// Returns once the window's thread has handled everything sent to it before,
// as far as a round trip can tell; false when it did not answer in time.
bool settle(HWND window, DWORD wait_ms = default_wait_ms);

// Reading windows. Texts are the ANSI (GBK) bytes the program sees.
std::string text_of(HWND window);
std::string class_of(HWND window);
LONG style_of(HWND window);
LONG extended_style_of(HWND window);
// The window's outer rectangle on the screen.
RECT screen_rect_of(HWND window);
// A child's outer rectangle in its parent's client coordinates.
RECT place_of(HWND child);
bool is_visible(HWND window);
std::vector<std::string> list_items(HWND list_box);
// The children of a window, top of the z-order first.
std::vector<HWND> children_in_z_order(HWND parent);

// Acting on controls.
void set_text(HWND edit_box, const std::string& text);
// Posts the click, so that a handler that shows a box does not block the test.
void click(HWND button);
// Sends the click and waits for the handler to return; false when it did not
// return in time (a box left open, for instance).
bool click_and_wait(HWND button, DWORD wait_ms);

// Keyboard input through SendInput, to whatever window has the foreground.
enum Modifiers : unsigned { no_modifier = 0, shift = 1, ctrl = 2, alt = 4 };
void press(WORD virtual_key, unsigned modifiers = no_modifier);
// Types UTF-16 characters as key strokes.
void type(const std::wstring& characters);

// The clipboard's CF_TEXT bytes up to the first zero, and the size of the
// block that holds them; nullopt when the clipboard holds no text.
struct ClipboardText {
    std::string text;
    SIZE_T block_size;
};
std::optional<ClipboardText> clipboard_text();
// Replaces the clipboard with a text of the test's own.
bool put_clipboard(const std::string& text);

// Keeps the clipboard open, as another program would, until destroyed.
class ClipboardHold {
public:
    ClipboardHold();
    ~ClipboardHold();
    ClipboardHold(const ClipboardHold&) = delete;
    ClipboardHold& operator=(const ClipboardHold&) = delete;
    bool held() const { return held_; }

private:
    HWND owner_;
    bool held_;
};

// Message boxes.
std::string message_box_text(HWND box);
void close_message_box(HWND box);

// Files. The names a folder holds, "." and ".." left out.
std::set<std::string> names_in(const std::string& folder);
// Removes a file, or a folder with everything in it, whatever the attributes;
// true once nothing is left at path.
bool remove_tree(const std::string& path);

// A fresh folder under the temporary directory holding a copy of exe (or
// nothing, for a test that fills it itself), removed with everything in it when
// destroyed: for runs that write next to the exe.
class RunDirectory {
public:
    RunDirectory();
    explicit RunDirectory(const std::string& exe);
    ~RunDirectory();
    RunDirectory(const RunDirectory&) = delete;
    RunDirectory& operator=(const RunDirectory&) = delete;
    const std::string& path() const { return path_; }
    // The copy of exe; empty for a folder made without one.
    const std::string& exe() const { return exe_; }
    // The path of a file of that name in the folder.
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
    std::string exe_;
};

}  // namespace ui
