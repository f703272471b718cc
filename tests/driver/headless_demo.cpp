// The run command's headless mode: drives the real program through one whole
// collection and prints what it shows (as UTF-8, for a terminal). Then it writes
// the window's place on the screen ("WIDTHxHEIGHT+LEFT+TOP") to READY_FILE, so
// that a picture can be taken, and closes the program once a line arrives on its
// standard input.
//
//     headless_demo.exe ADDRESS READY_FILE
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/app/pellom.h"
#include "tests/driver/ui_driver.h"

namespace {

std::string utf8_of(const std::string& ansi) {
    int wide_length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), nullptr, 0);
    std::wstring wide(wide_length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), &wide[0], wide_length);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    std::string utf8(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, &utf8[0], length, nullptr, nullptr);
    return utf8;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: headless_demo ADDRESS READY_FILE\n");
        return 2;
    }
    ui::Program program = ui::Program::start(ui::pellom_exe());
    HWND window = program.main_window();
    if (!window) {
        std::fprintf(stderr, "the program showed no window\n");
        return 1;
    }
    ui::set_text(program.control(id::编辑框2), argv[1]);
    if (!ui::click_and_wait(program.control(id::按钮1), 60000)) {
        std::fprintf(stderr, "the collection did not return\n");
        return 1;
    }
    std::printf("%s\n", utf8_of(ui::text_of(window)).c_str());
    for (const std::string& title : ui::list_items(program.control(id::列表框3)))
        std::printf("%s %s\n", utf8_of(ui::text_of(program.control(id::标签1))).c_str(),
                    utf8_of(title).c_str());
    std::string list = ui::text_of(program.control(id::编辑框1));
    // The terminal wants LF; the list itself ends its lines with CR LF.
    for (std::string::size_type at; (at = list.find('\r')) != std::string::npos;) list.erase(at, 1);
    std::printf("%s", utf8_of(list).c_str());
    std::fflush(stdout);

    // The frame too: nothing may be left unpainted in the picture.
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    ui::settle(window);
    RECT place = ui::screen_rect_of(window);
    if (FILE* ready = std::fopen(argv[2], "w")) {
        std::fprintf(ready, "%ldx%ld+%ld+%ld\n", place.right - place.left, place.bottom - place.top,
                     place.left, place.top);
        std::fclose(ready);
    }
    char line[16];
    std::fgets(line, sizeof line, stdin);

    PostMessageA(window, WM_CLOSE, 0, 0);
    std::optional<DWORD> exit_code = program.exit_code();
    if (!exit_code) {
        std::fprintf(stderr, "the program did not end\n");
        return 1;
    }
    std::printf("program ended with exit code %ld\n", long(*exit_code));
    return *exit_code == 0 ? 0 : 1;
}
