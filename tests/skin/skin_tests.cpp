// Start-up skinning as a user's folder sees it: each case copies a small program
// linked with the skinning code into a fresh run directory, perhaps beside a
// SkinH_EL.dll of the test's choosing, runs it, and looks at what the folder then
// holds, what the engine was handed, and the fatal box with the exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include "engine/skin_file.h"
#include "skin/carried.h"
#include "tests/driver/ui_driver.h"

namespace {

const std::string library_name = SKIN_ENGINE_FILE_NAME;

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

// What one start left to see: the exit code and the fatal box, if one came up.
struct Outcome {
    DWORD exit_code = 0;
    bool box_shown = false;
    std::string box_caption;
    std::string box_text;
};

// Runs program, copied into the folder as probe.exe, with its arguments until it
// ends; a message box of that process is read and closed with its OK button.
Outcome run_in(const std::string& folder, const char* program, const std::string& arguments) {
    Outcome outcome;
    std::string exe = folder + "\\probe.exe";
    EXPECT_TRUE(CopyFileA(program, exe.c_str(), FALSE)) << "cannot copy " << program;
    ui::Program probe = ui::Program::start(exe, folder + "\\", arguments);
    if (!probe.process()) return outcome;
    HWND box = nullptr;
    ui::wait_until([&] { return !probe.running() || (box = probe.message_box(0)) != nullptr; }, 60000);
    if (box) {
        outcome.box_shown = true;
        outcome.box_caption = ui::text_of(box);
        outcome.box_text = ui::message_box_text(box);
        ui::close_message_box(box);
    }
    std::optional<DWORD> exit_code = probe.exit_code(60000);
    if (!exit_code) {
        ADD_FAILURE() << "the program did not end";
        return outcome;
    }
    outcome.exit_code = *exit_code;
    return outcome;
}

Outcome run_in(const ui::RunDirectory& folder, const char* program, const std::string& arguments) {
    return run_in(folder.path(), program, arguments);
}

// Wine shows every file with the archive attribute, whatever was set; what the
// program asked for is seen in the others.
DWORD attributes_but_archive(const std::string& path) {
    return GetFileAttributesA(path.c_str()) & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE);
}

void place_library(const ui::RunDirectory& folder, const char* library, DWORD attributes) {
    ASSERT_TRUE(CopyFileA(library, folder.file(library_name).c_str(), FALSE));
    ASSERT_TRUE(SetFileAttributesA(folder.file(library_name).c_str(), attributes));
}

// The engine test build notes, beside itself, each call and its unloading.
std::string recorded_call(const std::string& skin) {
    return "data=" + std::string(skin.empty() ? "null" : "set") + " length=" + std::to_string(skin.size()) +
           " key= args=0,0,0 bytes=" + hex(skin) + "\n";
}

TEST(SkinDeployment, FirstStartWritesTheCarriedEngineHiddenBesideTheProgram) {
    ui::RunDirectory folder;
    Outcome outcome = run_in(folder, SKIN_PROBE, "13");
    EXPECT_FALSE(outcome.box_shown) << outcome.box_text;
    EXPECT_EQ(outcome.exit_code, 0u);

    std::string written = read_bytes(folder.file(library_name));
    CarriedBytes image = skin_engine_image();
    EXPECT_TRUE(written == read_bytes(ENGINE)) << "not the engine as built, " << written.size() << " bytes";
    EXPECT_TRUE(written == std::string(reinterpret_cast<const char*>(image.bytes), image.count));
    EXPECT_EQ(attributes_but_archive(folder.file(library_name)), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(ui::names_in(folder.path()), (std::set<std::string>{"probe.exe", library_name}));
}

// There the run directory is "C:" alone and the library goes to "C:\\SkinH_EL.dll".
TEST(SkinDeployment, ProgramInADriveRootWritesTheEngineAtTheRoot) {
    const std::string root = "C:";
    const std::string library = root + "\\" + library_name, probe = root + "\\probe.exe";
    ui::remove_tree(library);
    Outcome outcome = run_in(root, SKIN_PROBE, "13");
    EXPECT_FALSE(outcome.box_shown) << outcome.box_text;
    EXPECT_EQ(outcome.exit_code, 0u);
    EXPECT_TRUE(read_bytes(library) == read_bytes(ENGINE)) << "not the engine as built";
    EXPECT_EQ(attributes_but_archive(library), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    ui::remove_tree(library);
    ui::remove_tree(probe);
}

TEST(SkinDeployment, FoundLibraryIsLeftAsItIsAndGivenSkin13ThenReleased) {
    ui::RunDirectory folder;
    place_library(folder, RECORDING_ENGINE, FILE_ATTRIBUTE_HIDDEN);
    DWORD attributes_before = GetFileAttributesA(folder.file(library_name).c_str());
    Outcome outcome = run_in(folder, SKIN_PROBE, "13");
    EXPECT_FALSE(outcome.box_shown) << outcome.box_text;
    EXPECT_EQ(outcome.exit_code, 0u);

    EXPECT_TRUE(read_bytes(folder.file(library_name)) == read_bytes(RECORDING_ENGINE))
        << "the library was rewritten";
    EXPECT_EQ(GetFileAttributesA(folder.file(library_name).c_str()), attributes_before);
    ASSERT_EQ(carried_skin(13).substr(0, 4), ".SHE");
    EXPECT_EQ(read_bytes(folder.file(library_name + ".calls.txt")),
              recorded_call(carried_skin(13)) + "unloaded\n");
}

TEST(SkinSelection, OnlyNumbersOneTo33HandTheEngineASkin) {
    ui::RunDirectory folder;
    place_library(folder, RECORDING_ENGINE, FILE_ATTRIBUTE_NORMAL);
    Outcome outcome = run_in(folder, SKIN_PROBE, "0 1 33 34 -1");
    EXPECT_EQ(outcome.exit_code, 0u);

    // Bound once: one unloading after all five calls.
    std::string expected = recorded_call("") + recorded_call(carried_skin(1)) +
                           recorded_call(carried_skin(33)) + recorded_call("") + recorded_call("") +
                           "unloaded\n";
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

    // Like every ui::Program, it hands the promotional page to a recorder, not a browser.
    ui::RunDirectory folder(ui::pellom_exe());
    ui::Program program = ui::Program::start(folder.exe());
    HWND window = program.main_window(30000);
    ASSERT_TRUE(window) << "no window";
    ui::settle(window, 5000);
    // The first painting comes when the program gets to it; a loaded machine is slow.
    auto label = [&] { return screen_pixel(window, 432 + 112, 112 + 24); };       // 标签2, no text
    auto result_box = [&] { return screen_pixel(window, 96 + 150, 120 + 300); };  // the empty 编辑框1
    ui::wait_until([&] { return label() == skin.label_back && result_box() == skin.edit_back; }, 10000);
    EXPECT_EQ(label(), skin.label_back) << "label without text (标签2)";
    EXPECT_EQ(result_box(), skin.edit_back) << "inside the empty 编辑框1";

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exit_code(15000), std::optional<DWORD>(0));
    EXPECT_TRUE(read_bytes(folder.file(library_name)) == read_bytes(ENGINE)) << "not the engine as built";
    EXPECT_EQ(attributes_but_archive(folder.file(library_name)), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

// --- starts that end in the fatal box ---------------------------------------

const std::string not_found_box = "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“" + library_name +
                                  "”中的输出命令“SkinH_AttachRes”\r\n";

struct FatalCase {
    const char* name;
    const char* program;
    // Prepares the folder; null leaves it empty but for the program.
    void (*prepare)(const ui::RunDirectory&);
    std::string box_text;
    // What the folder holds afterwards, program included.
    std::set<std::string> left_in_folder;
};

void place_foreign(const ui::RunDirectory& folder) {
    place_library(folder, FOREIGN_ENGINE, FILE_ATTRIBUTE_NORMAL);
}
#if defined(__i386__)
void place_unbalanced(const ui::RunDirectory& folder) {
    place_library(folder, UNBALANCED_ENGINE, FILE_ATTRIBUTE_NORMAL);
}
#endif
void make_folder_of_that_name(const ui::RunDirectory& folder) {
    ASSERT_TRUE(CreateDirectoryA(folder.file(library_name).c_str(), nullptr));
}

void PrintTo(const FatalCase& c, std::ostream* out) { *out << c.name; }

class FatalStart : public testing::TestWithParam<FatalCase> {};

TEST_P(FatalStart, ShowsTheBoxAndEndsWithMinusOne) {
    const FatalCase& c = GetParam();
    ui::RunDirectory folder;
    if (c.prepare) c.prepare(folder);
    std::string library_before = read_bytes(folder.file(library_name));

    Outcome outcome = run_in(folder, c.program, "13");
    EXPECT_TRUE(outcome.box_shown);
    EXPECT_EQ(outcome.box_caption, "错误");
    EXPECT_EQ(outcome.box_text, c.box_text);
    EXPECT_EQ(outcome.exit_code, static_cast<DWORD>(-1));

    EXPECT_EQ(ui::names_in(folder.path()), c.left_in_folder);
    EXPECT_TRUE(read_bytes(folder.file(library_name)) == library_before) << "the library found was changed";
    if (c.prepare == make_folder_of_that_name) {
        EXPECT_TRUE(ui::names_in(folder.file(library_name)).empty()) << "written into the folder";
    }
}

const FatalCase fatal_cases[] = {
    FatalCase{"library_without_the_entry", SKIN_PROBE, place_foreign, not_found_box, {"probe.exe", library_name}},
    FatalCase{"folder_named_like_the_library",
              SKIN_PROBE,
              make_folder_of_that_name,
              not_found_box,
              {"probe.exe", library_name}},
#if defined(__i386__)
    // Only 32-bit Windows has callees that remove their own arguments; x86-64
    // has one convention, in which no entry can leave the stack unbalanced.
    FatalCase{"entry_leaving_its_arguments",
              SKIN_PROBE,
              place_unbalanced,
              "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n",
              {"probe.exe", library_name}},
#endif
    // A failed write must leave neither a broken library nor its pieces.
    FatalCase{"write_failing_half_way", SKIN_PROBE_FAILING_WRITE, nullptr, not_found_box, {"probe.exe"}},
};

INSTANTIATE_TEST_SUITE_P(Skin, FatalStart, testing::ValuesIn(fatal_cases),
                         [](const testing::TestParamInfo<FatalCase>& info) { return std::string(info.param.name); });

}  // namespace
