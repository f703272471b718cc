// Start-up skinning as a user's folder sees it: each case copies a small program
// linked with the skinning code into a fresh run directory, perhaps beside a
// SkinH_EL.dll of the test's choosing, runs it, and looks at what the folder then
// holds, what the engine was handed, and the fatal box with the exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/skin_file.h"
#include "skin/carried.h"

namespace {

const std::string library_name = "SkinH_EL.dll";

std::string read_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string hex(const std::string& bytes) {
    std::string out;
    for (unsigned char b : bytes) {
        out += "0123456789ABCDEF"[b >> 4];
        out += "0123456789ABCDEF"[b & 15];
    }
    return out;
}

std::string carried_skin(int number) {
    CarriedBytes skin = skin_catalogue(number);
    return std::string(reinterpret_cast<const char*>(skin.bytes), skin.count);
}

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

void remove_tree(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    for (const std::string& name : names_in(path)) remove_tree(path + "\\" + name);
    RemoveDirectoryA(path.c_str());
}

// A fresh folder under the temporary folder, removed with all it holds.
class RunDirectory {
public:
    RunDirectory() {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        static int made = 0;
        std::ostringstream name;
        name << temp << "skin-run-" << GetCurrentProcessId() << "-" << ++made;
        path_ = name.str();
        remove_tree(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    RunDirectory(const RunDirectory&) = delete;
    RunDirectory& operator=(const RunDirectory&) = delete;
    ~RunDirectory() { remove_tree(path_); }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// What one start left to see: the exit code and the fatal box, if one came up.
struct Outcome {
    DWORD exit_code = 0;
    bool box_shown = false;
    std::string box_caption;
    std::string box_text;
};

struct WindowSearch {
    DWORD process_id;
    const char* class_name;
    HWND found;
};

BOOL CALLBACK find_window(HWND window, LPARAM search_address) {
    auto* search = reinterpret_cast<WindowSearch*>(search_address);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char class_name[64] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    if (owner != search->process_id || std::string(class_name) != search->class_name || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// A visible top-level window of that class and process, or null.
HWND visible_window_of(DWORD process_id, const char* class_name) {
    WindowSearch search = {process_id, class_name, nullptr};
    EnumWindows(find_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string window_text(HWND window) {
    char text[1024] = {};
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    return text;
}

// A copy of a program started in a folder, its current directory; the handles
// are closed, and a process still running after the test is ended.
class StartedCopy {
public:
    StartedCopy(const std::string& folder, const char* program, const std::string& name, const std::string& arguments) {
        std::string exe = folder + "\\" + name;
        EXPECT_TRUE(CopyFileA(program, exe.c_str(), FALSE));
        std::string command_line = "\"" + exe + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(exe.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  (folder + "\\").c_str(), &startup, &process_);
        EXPECT_TRUE(started_) << "cannot start " << exe;
    }
    StartedCopy(const StartedCopy&) = delete;
    StartedCopy& operator=(const StartedCopy&) = delete;
    ~StartedCopy() {
        if (!started_) return;
        if (running(0)) TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    bool started() const { return started_; }
    DWORD process_id() const { return process_.dwProcessId; }
    bool running(DWORD wait_ms) const { return WaitForSingleObject(process_.hProcess, wait_ms) == WAIT_TIMEOUT; }
    DWORD exit_code() const {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

// Runs program (copied into the folder first) with its arguments until it ends;
// a message box of that process is read and closed with its OK button.
Outcome run_in(const std::string& folder, const char* program, const std::string& arguments) {
    Outcome outcome;
    StartedCopy copy(folder, program, "probe.exe", arguments);
    if (!copy.started()) return outcome;
    for (int waited = 0; copy.running(100); waited += 100) {
        HWND box = visible_window_of(copy.process_id(), "#32770");
        if (box && !outcome.box_shown) {
            outcome.box_shown = true;
            outcome.box_caption = window_text(box);
            outcome.box_text = window_text(GetDlgItem(box, 0xFFFF));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        if (waited > 60000) {
            ADD_FAILURE() << "the program did not end";
            return outcome;
        }
    }
    outcome.exit_code = copy.exit_code();
    return outcome;
}

Outcome run_in(const RunDirectory& folder, const char* program, const std::string& arguments) {
    return run_in(folder.path(), program, arguments);
}

// Wine shows every file with the archive attribute, whatever was set; what the
// program asked for is seen in the others.
DWORD attributes_but_archive(const std::string& path) {
    return GetFileAttributesA(path.c_str()) & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE);
}

void place_library(const RunDirectory& folder, const char* library, DWORD attributes) {
    ASSERT_TRUE(CopyFileA(library, folder.file(library_name).c_str(), FALSE));
    ASSERT_TRUE(SetFileAttributesA(folder.file(library_name).c_str(), attributes));
}

// The engine test build notes, beside itself, each call and its unloading.
std::string recorded_call(const std::string& skin) {
    return "data=" + std::string(skin.empty() ? "null" : "set") + " length=" + std::to_string(skin.size()) +
           " key= args=0,0,0 bytes=" + hex(skin) + "\n";
}

TEST(SkinDeployment, FirstStartWritesTheCarriedEngineHiddenBesideTheProgram) {
    RunDirectory folder;
    Outcome outcome = run_in(folder, SKIN_PROBE, "13");
    EXPECT_FALSE(outcome.box_shown) << outcome.box_text;
    EXPECT_EQ(outcome.exit_code, 0u);

    std::string written = read_bytes(folder.file(library_name));
    CarriedBytes image = skin_engine_image();
    EXPECT_TRUE(written == read_bytes(ENGINE)) << "not the engine as built, " << written.size() << " bytes";
    EXPECT_TRUE(written == std::string(reinterpret_cast<const char*>(image.bytes), image.count));
    EXPECT_EQ(attributes_but_archive(folder.file(library_name)), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(names_in(folder.path()), (std::set<std::string>{"probe.exe", library_name}));
}

// There the run directory is "C:" alone and the library goes to "C:\\SkinH_EL.dll".
TEST(SkinDeployment, ProgramInADriveRootWritesTheEngineAtTheRoot) {
    const std::string root = "C:";
    const std::string library = root + "\\" + library_name, probe = root + "\\probe.exe";
    remove_tree(library);
    Outcome outcome = run_in(root, SKIN_PROBE, "13");
    EXPECT_FALSE(outcome.box_shown) << outcome.box_text;
    EXPECT_EQ(outcome.exit_code, 0u);
    EXPECT_TRUE(read_bytes(library) == read_bytes(ENGINE)) << "not the engine as built";
    EXPECT_EQ(attributes_but_archive(library), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    remove_tree(library);
    remove_tree(probe);
}

TEST(SkinDeployment, FoundLibraryIsLeftAsItIsAndGivenSkin13ThenReleased) {
    RunDirectory folder;
    place_library(folder, RECORDING_ENGINE, FILE_ATTRIBUTE_HIDDEN);
    DWORD attributes_before = GetFileAttributesA(folder.file(library_name).c_str());
    Outcome outcome = run_in(folder, SKIN_PROBE, "13");
    EXPECT_FALSE(outcome.box_shown) << outcome.box_text;
    EXPECT_EQ(outcome.exit_code, 0u);

    EXPECT_TRUE(read_bytes(folder.file(library_name)) == read_bytes(RECORDING_ENGINE)) << "the library was rewritten";
    EXPECT_EQ(GetFileAttributesA(folder.file(library_name).c_str()), attributes_before);
    ASSERT_EQ(carried_skin(13).substr(0, 4), ".SHE");
    EXPECT_EQ(read_bytes(folder.file(library_name + ".calls.txt")), recorded_call(carried_skin(13)) + "unloaded\n");
}

TEST(SkinSelection, OnlyNumbersOneTo33HandTheEngineASkin) {
    RunDirectory folder;
    place_library(folder, RECORDING_ENGINE, FILE_ATTRIBUTE_NORMAL);
    Outcome outcome = run_in(folder, SKIN_PROBE, "0 1 33 34 -1");
    EXPECT_EQ(outcome.exit_code, 0u);

    // Bound once: one unloading after all five calls.
    std::string expected = recorded_call("") + recorded_call(carried_skin(1)) + recorded_call(carried_skin(33)) +
                           recorded_call("") + recorded_call("") + "unloaded\n";
    EXPECT_EQ(read_bytes(folder.file(library_name + ".calls.txt")), expected);
}

TEST(SkinCatalogue, ThirtyThreeDifferentSkinsEachOpeningWithTheMark) {
    std::set<std::string> distinct;
    for (int number = 1; number <= skin_count; ++number) {
        std::string skin = carried_skin(number);
        EXPECT_EQ(skin.substr(0, 4), ".SHE") << "skin " << number;
        distinct.insert(skin);
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(skin_count));
}

// Sets a variable of this process, which the programs it starts inherit, for the
// life of the value.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        char old[4096];
        DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
        had_ = length > 0 && length < sizeof old;
        if (had_) old_ = old;
        SetEnvironmentVariableA(name, value.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    ~ScopedVariable() { SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr); }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

// What the screen shows at a point of the window's client area.
COLORREF screen_pixel(HWND window, int x, int y) {
    POINT at = {x, y};
    ClientToScreen(window, &at);
    HDC screen = GetDC(nullptr);
    COLORREF pixel = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

// The program itself, at its first start: the engine is written beside it and
// its window comes up already dressed with skin 13; closed, it ends with 0.
TEST(SkinnedProgram, FirstStartShowsTheWindowDressedWithSkin13) {
    SkinFile skin;
    CarriedBytes carried = skin_catalogue(13);
    ASSERT_GT(carried.count, sizeof skin);
    std::memcpy(&skin, carried.bytes, sizeof skin);

    RunDirectory folder;
    // The promotional page must not start a browser here.
    ScopedVariable no_browser("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe,winebrowser.exe=d");
    StartedCopy program(folder.path(), PELLOM, "pellom.exe", "");
    ASSERT_TRUE(program.started());
    HWND window = nullptr;
    for (int waited = 0; !window && waited < 30000 && program.running(100); waited += 100)
        window = visible_window_of(program.process_id(), "WTWindow");
    ASSERT_TRUE(window) << "no window";
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    Sleep(500);  // the first painting after the window came up

    EXPECT_EQ(screen_pixel(window, 432 + 112, 112 + 24), skin.label_back) << "label without text (标签2)";
    EXPECT_EQ(screen_pixel(window, 96 + 150, 120 + 300), skin.edit_back) << "inside the empty 编辑框1";

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(program.running(15000));
    EXPECT_EQ(program.exit_code(), 0u);
    EXPECT_TRUE(read_bytes(folder.file(library_name)) == read_bytes(ENGINE)) << "not the engine as built";
    EXPECT_EQ(attributes_but_archive(folder.file(library_name)), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

// --- starts that end in the fatal box ---------------------------------------

const std::string not_found_box =
    "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“SkinH_EL.dll”中的输出命令“SkinH_AttachRes”\r\n";

struct FatalCase {
    const char* name;
    const char* program;
    // Prepares the folder; null leaves it empty but for the program.
    void (*prepare)(const RunDirectory&);
    std::string box_text;
    // What the folder holds afterwards, program included.
    std::set<std::string> left_in_folder;
};

void place_foreign(const RunDirectory& folder) { place_library(folder, FOREIGN_ENGINE, FILE_ATTRIBUTE_NORMAL); }
void place_unbalanced(const RunDirectory& folder) { place_library(folder, UNBALANCED_ENGINE, FILE_ATTRIBUTE_NORMAL); }
void make_folder_of_that_name(const RunDirectory& folder) {
    ASSERT_TRUE(CreateDirectoryA(folder.file(library_name).c_str(), nullptr));
}

void PrintTo(const FatalCase& c, std::ostream* out) { *out << c.name; }

class FatalStart : public testing::TestWithParam<FatalCase> {};

TEST_P(FatalStart, ShowsTheBoxAndEndsWithMinusOne) {
    const FatalCase& c = GetParam();
    RunDirectory folder;
    if (c.prepare) c.prepare(folder);
    std::string library_before = read_bytes(folder.file(library_name));

    Outcome outcome = run_in(folder, c.program, "13");
    EXPECT_TRUE(outcome.box_shown);
    EXPECT_EQ(outcome.box_caption, "错误");
    EXPECT_EQ(outcome.box_text, c.box_text);
    EXPECT_EQ(outcome.exit_code, static_cast<DWORD>(-1));

    EXPECT_EQ(names_in(folder.path()), c.left_in_folder);
    EXPECT_TRUE(read_bytes(folder.file(library_name)) == library_before) << "the library found was changed";
    if (c.prepare == make_folder_of_that_name) {
        EXPECT_TRUE(names_in(folder.file(library_name)).empty()) << "written into the folder";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Skin, FatalStart,
    testing::Values(
        FatalCase{"library_without_the_entry", SKIN_PROBE, place_foreign, not_found_box, {"probe.exe", library_name}},
        FatalCase{"folder_named_like_the_library", SKIN_PROBE, make_folder_of_that_name, not_found_box,
                  {"probe.exe", library_name}},
        FatalCase{"entry_leaving_its_arguments", SKIN_PROBE, place_unbalanced,
                  "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n",
                  {"probe.exe", library_name}},
        // A failed write must leave neither a broken library nor its pieces.
        FatalCase{"write_failing_half_way", SKIN_PROBE_FAILING_WRITE, nullptr, not_found_box, {"probe.exe"}}),
    [](const testing::TestParamInfo<FatalCase>& info) { return std::string(info.param.name); });

}  // namespace
