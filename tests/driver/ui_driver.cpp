// The UI driver's Windows side; see ui_driver.h for how tests use it.
#include "tests/driver/ui_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace ui {

namespace {

// The shell's command for http addresses. Wine reads it from the prefix's
// classes only (no per-user override), so it is swapped and put back.
constexpr const char* http_command_key = "http\\shell\\open\\command";
int programs_alive = 0;
std::string prefix_http_command;

std::string read_http_command() {
    char command[1024];
    LONG size = sizeof command;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, http_command_key, command, &size) != ERROR_SUCCESS)
        return std::string();
    return command;
}

void write_http_command(const std::string& command) {
    RegSetValueA(HKEY_CLASSES_ROOT, http_command_key, REG_SZ, command.c_str(),
                 static_cast<DWORD>(command.size()));
}

void point_http_at_recorder() {
    prefix_http_command = read_http_command();
    write_http_command("\"" + browser_recorder_exe() + "\" \"%1\"");
}

// Gives the prefix back its own browser hand-off once no Program runs.
void restore_http_handler() {
    if (!prefix_http_command.empty()) write_http_command(prefix_http_command);
}

std::string fresh_temp_name(const char* prefix) {
    static int counter = 0;
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%s%s-%lu-%lu-%d", folder, prefix, GetCurrentProcessId(), GetTickCount(),
                  ++counter);
    return name;
}

// One look, without waiting, for a visible top-level window of that class and process.
HWND visible_window_now(DWORD process_id, const char* class_name) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, class_name, nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process_id && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

HWND find_visible_window(DWORD process_id, const char* class_name, DWORD wait_ms) {
    HWND found = nullptr;
    wait_until([&] { return (found = visible_window_now(process_id, class_name)) != nullptr; }, wait_ms);
    return found;
}

void add_key(std::vector<INPUT>& inputs, WORD virtual_key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtual_key, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
}

bool open_clipboard() {
    return wait_until([] { return OpenClipboard(nullptr) != 0; }, 2000);
}

}  // namespace

std::string windows_path_of(const std::string& unix_path) {
    std::string path = "Z:" + unix_path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string browser_recorder_exe() { return windows_path_of(WT_BROWSER_RECORDER_EXE); }

Program Program::start(const std::string& exe, const std::string& working_directory,
                       const std::string& arguments) {
    Program program;
    program.record_file_ = fresh_temp_name("wt-browser");
    CloseHandle(CreateFileA(program.record_file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    SetEnvironmentVariableA("WT_BROWSER_RECORD", program.record_file_.c_str());
    if (programs_alive++ == 0) point_http_at_recorder();

    std::string directory = working_directory;
    if (directory.empty()) directory = exe.substr(0, exe.find_last_of('\\'));
    std::string command_line = "\"" + exe + "\"";
    if (!arguments.empty()) command_line += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    BOOL ok = CreateProcessA(exe.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                             directory.c_str(), &startup, &started);
    EXPECT_TRUE(ok) << "cannot start " << exe << ": error " << GetLastError();
    if (ok) {
        CloseHandle(started.hThread);
        program.process_ = started.hProcess;
        program.process_id_ = started.dwProcessId;
        program.thread_id_ = started.dwThreadId;
    }
    return program;
}

Program::Program(Program&& other) noexcept
    : process_(other.process_),
      process_id_(other.process_id_),
      thread_id_(other.thread_id_),
      main_window_(other.main_window_),
      record_file_(std::move(other.record_file_)) {
    other.process_ = nullptr;
    ++programs_alive;
}

Program::~Program() {
    if (process_) {
        if (running()) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    if (!record_file_.empty()) DeleteFileA(record_file_.c_str());
    if (--programs_alive == 0) restore_http_handler();
}

HWND Program::main_window(DWORD wait_ms) {
    if (!main_window_ || !IsWindow(main_window_))
        main_window_ = find_visible_window(process_id_, "WTWindow", wait_ms);
    return main_window_;
}

HWND Program::shown_main_window() const { return visible_window_now(process_id_, "WTWindow"); }

HWND Program::control(int control_identifier) {
    HWND window = main_window();
    return window ? GetDlgItem(window, control_identifier) : nullptr;
}

HWND Program::control_at(const std::string& class_name, int left, int top) {
    HWND window = main_window();
    if (!window) return nullptr;
    for (HWND child : children_in_z_order(window)) {
        RECT place = place_of(child);
        if (place.left == left && place.top == top && class_of(child) == class_name) return child;
    }
    return nullptr;
}

HWND Program::message_box(DWORD wait_ms) const { return find_visible_window(process_id_, "#32770", wait_ms); }

HWND Program::focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread_id_, &info) ? info.hwndFocus : nullptr;
}

bool Program::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Program::exit_code(DWORD wait_ms) const {
    if (!process_ || WaitForSingleObject(process_, wait_ms) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<AddressRequest> Program::requested_addresses() const {
    std::vector<AddressRequest> requests;
    std::ifstream record(record_file_);
    std::string line;
    while (std::getline(record, line)) {
        std::istringstream fields(line);
        AddressRequest request;
        if (fields >> request.requested_at >> request.address) requests.push_back(request);
    }
    return requests;
}

bool settle(HWND window, DWORD wait_ms) {
    // Input and posted messages queue behind what is already there; a short
    // pause lets them be taken before the round trip below.
    Sleep(150);
    DWORD_PTR result;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, wait_ms, &result) != 0;
}

std::string text_of(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, default_wait_ms, &length))
        return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL,
                        default_wait_ms, &copied);
    text.resize(copied);
    return text;
}

std::string class_of(HWND window) {
    char name[256];
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

LONG style_of(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
LONG extended_style_of(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

RECT screen_rect_of(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT place_of(HWND child) {
    RECT rect = screen_rect_of(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool is_visible(HWND window) { return IsWindowVisible(window) != 0; }

std::vector<std::string> list_items(HWND list_box) {
    // Read in UTF-16 and turned back into the ANSI code page: Wine hands the ANSI
    // form of LB_GETTEXT across processes as UTF-16 for these list boxes.
    std::vector<std::string> items;
    LRESULT count = SendMessageW(list_box, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list_box, LB_GETTEXTLEN, i, 0);
        std::wstring item(length > 0 ? length + 1 : 1, L'\0');
        LRESULT copied = SendMessageW(list_box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
        item.resize(copied > 0 ? copied : 0);
        int bytes =
            WideCharToMultiByte(CP_ACP, 0, item.data(), int(item.size()), nullptr, 0, nullptr, nullptr);
        std::string ansi(bytes, '\0');
        WideCharToMultiByte(CP_ACP, 0, item.data(), int(item.size()), &ansi[0], bytes, nullptr, nullptr);
        items.push_back(ansi);
    }
    return items;
}

std::vector<HWND> children_in_z_order(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void set_text(HWND edit_box, const std::string& text) {
    DWORD_PTR result;
    SendMessageTimeoutA(edit_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                        default_wait_ms, &result);
}

void click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

bool click_and_wait(HWND button, DWORD wait_ms) {
    DWORD_PTR result;
    return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, wait_ms, &result) != 0;
}

void press(WORD virtual_key, unsigned modifiers) {
    static const WORD modifier_keys[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    std::vector<INPUT> inputs;
    for (int i = 0; i < 3; ++i)
        if (modifiers & (1u << i)) add_key(inputs, modifier_keys[i], false);
    add_key(inputs, virtual_key, false);
    add_key(inputs, virtual_key, true);
    for (int i = 2; i >= 0; --i)
        if (modifiers & (1u << i)) add_key(inputs, modifier_keys[i], true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void type(const std::wstring& characters) {
    std::vector<INPUT> inputs;
    for (wchar_t c : characters)
        for (bool up : {false, true}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::optional<ClipboardText> clipboard_text() {
    if (!open_clipboard()) return std::nullopt;
    std::optional<ClipboardText> result;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(block))) {
            SIZE_T size = GlobalSize(block);
            SIZE_T length = 0;
            while (length < size && bytes[length]) ++length;
            result = ClipboardText{std::string(bytes, length), size};
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return result;
}

bool put_clipboard(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block) return false;
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!open_clipboard()) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool put = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!put) GlobalFree(block);
    CloseClipboard();
    return put;
}

// Opened for a window of ours: Wine lets any thread open a clipboard that was
// opened without a window, so a windowless hold would not hold.
ClipboardHold::ClipboardHold()
    : owner_(CreateWindowExA(0, "STATIC", "clipboard holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr)),
      held_(owner_ && OpenClipboard(owner_)) {}

ClipboardHold::~ClipboardHold() {
    if (held_) CloseClipboard();
    if (owner_) DestroyWindow(owner_);
}

std::string message_box_text(HWND box) {
    // The box's text is its one static control with text; the icon has none.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (class_of(child) == "Static") {
            std::string text = text_of(child);
            if (!text.empty()) return text;
        }
    return std::string();
}

void close_message_box(HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

std::set<std::string> names_in(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool remove_tree(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
    // Hidden and read-only files are removed as well.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileA(path.c_str()) != 0;
    for (const std::string& name : names_in(path)) remove_tree(path + "\\" + name);
    return RemoveDirectoryA(path.c_str()) != 0;
}

RunDirectory::RunDirectory() : path_(fresh_temp_name("wt-run")) { CreateDirectoryA(path_.c_str(), nullptr); }

RunDirectory::RunDirectory(const std::string& exe) : RunDirectory() {
    exe_ = file(exe.substr(exe.find_last_of('\\') + 1));
    EXPECT_TRUE(CopyFileA(exe.c_str(), exe_.c_str(), FALSE)) << "cannot copy " << exe;
}

// A process started in the folder (the browser stand-in, for one) may still be
// ending and hold it as its current directory for a moment.
RunDirectory::~RunDirectory() {
    wait_until([&] { return remove_tree(path_); }, 5000);
}

}  // namespace ui
