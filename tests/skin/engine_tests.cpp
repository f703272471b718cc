// The engine on its own, loaded into this process: the skins it refuses, and how
// it dresses the calling thread's windows, those present at the call and those
// made after it. Each case runs on a thread of its own, as the engine dresses
// only the thread that calls it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "engine/skin_engine.h"
#include "engine/skin_file.h"
#include "win/handles.h"

namespace {

using AttachEntry = decltype(SkinH_AttachRes);

AttachEntry* attach_entry() {
    static HMODULE engine = LoadLibraryA(ENGINE);
    return reinterpret_cast<AttachEntry*>(reinterpret_cast<void*>(GetProcAddress(engine, "SkinH_AttachRes")));
}

// Flat colours, so that any pixel of a face tells which colour painted it.
SkinFile flat_skin_header() {
    SkinFile file = {};
    std::memcpy(file.magic, ".SHE", 4);
    file.version = skin_file_version;
    file.header_length = sizeof file;
    file.window_top = file.window_bottom = RGB(200, 10, 10);
    file.label_back = RGB(10, 200, 10);
    file.label_text = RGB(0, 0, 1);
    file.button_top = file.button_bottom = RGB(10, 10, 200);
    file.button_text = RGB(255, 255, 255);
    file.button_border = RGB(0, 0, 0);
    file.edit_back = RGB(1, 2, 3);
    file.edit_text = RGB(4, 5, 6);
    file.list_back = RGB(7, 8, 9);
    file.list_text = RGB(10, 11, 12);
    return file;
}

std::string skin_bytes(SkinFile file, const std::string& name = "flat") {
    file.file_length = sizeof file + name.size() + 1;
    return std::string(reinterpret_cast<const char*>(&file), sizeof file) + name + '\0';
}

const char test_class[] = "EngineTestPanel";

LRESULT CALLBACK white_panel(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PRINTCLIENT) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wparam), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// A class of this program's own, as the engine tells them from system classes.
void register_test_class() {
    WNDCLASSA panel = {};
    panel.lpfnWndProc = white_panel;
    panel.hInstance = GetModuleHandleA(nullptr);
    panel.lpszClassName = test_class;
    RegisterClassA(&panel);
}

HWND make_window(const char* class_name, DWORD style, HWND parent, int x, int y, int width, int height) {
    return CreateWindowExA(0, class_name, "", style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The colour the window paints at (x, y) when asked to print its client area.
COLORREF printed_pixel(HWND window, int x, int y) {
    WindowDC screen = WindowDC::client_area(nullptr);
    UniqueMemoryDC dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap canvas(CreateCompatibleBitmap(screen.get(), 400, 300));
    SelectedObject drawn_on(dc.get(), canvas.get());
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    return GetPixel(dc.get(), x, y);
}

struct ColourAnswer {
    COLORREF brush, text, back;
};

ColourAnswer colour_answer(HWND parent, UINT query) {
    UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, query, reinterpret_cast<WPARAM>(dc.get()), 0));
    LOGBRUSH described = {};
    if (brush) GetObjectA(brush, sizeof described, &described);
    return {described.lbColor, GetTextColor(dc.get()), GetBkColor(dc.get())};
}

struct RefusedSkin {
    const char* name;
    std::string bytes;
    bool null_pointer;
};

void PrintTo(const RefusedSkin& skin, std::ostream* out) { *out << skin.name; }

SkinFile with_version(std::uint16_t version) {
    SkinFile file = flat_skin_header();
    file.version = version;
    return file;
}

class RefusedSkins : public testing::TestWithParam<RefusedSkin> {};

TEST_P(RefusedSkins, LeaveTheWindowsAsTheyAre) {
    std::thread([] {
        const RefusedSkin& skin = GetParam();
        register_test_class();
        HWND window = make_window(test_class, WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 300, 200);
        auto before = GetWindowLongPtrA(window, GWLP_WNDPROC);
        const BYTE* data = skin.null_pointer ? nullptr : reinterpret_cast<const BYTE*>(skin.bytes.data());
        EXPECT_FALSE(attach_entry()(data, skin.bytes.size(), "", 0, 0, 0));
        HWND made_after = make_window(test_class, WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 300, 200);
        EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), before);
        EXPECT_EQ(GetWindowLongPtrA(made_after, GWLP_WNDPROC), before);
        EXPECT_EQ(printed_pixel(window, 50, 50), RGB(255, 255, 255));
        DestroyWindow(made_after);
        DestroyWindow(window);
    }).join();
}

std::string cut(const std::string& bytes, std::size_t length) { return bytes.substr(0, length); }
std::string with_byte(std::string bytes, std::size_t at, char value) {
    bytes[at] = value;
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Engine, RefusedSkins,
    testing::Values(RefusedSkin{"no_skin", "", true}, RefusedSkin{"empty", "", false},
                    RefusedSkin{"other_mark", with_byte(skin_bytes(flat_skin_header()), 3, 'F'), false},
                    RefusedSkin{"cut_short", cut(skin_bytes(flat_skin_header()), sizeof(SkinFile) + 2),
                                false},
                    RefusedSkin{"header_only", cut(skin_bytes(flat_skin_header()), sizeof(SkinFile)), false},
                    RefusedSkin{"other_version", skin_bytes(with_version(2)), false},
                    RefusedSkin{"name_not_ended",
                                with_byte(skin_bytes(flat_skin_header()), sizeof(SkinFile) + 4, 'x'), false}),
    [](const testing::TestParamInfo<RefusedSkin>& info) { return std::string(info.param.name); });

TEST(Engine, DressesTheThreadsWindowsPresentAndMadeLater) {
    std::thread([] {
        register_test_class();
        HWND window = make_window(test_class, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr, 0, 0, 400, 300);
        HWND label = make_window(test_class, WS_CHILD | WS_VISIBLE, window, 10, 10, 100, 20);

        std::string skin = skin_bytes(flat_skin_header());
        std::string handed = skin;
        EXPECT_TRUE(attach_entry()(reinterpret_cast<const BYTE*>(handed.data()), handed.size(), "", 0, 0, 0));
        // The caller frees its buffer right after the call.
        handed.assign(handed.size(), '\0');

        HWND button = make_window("BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, window, 10, 50, 120, 40);
        EXPECT_EQ(printed_pixel(window, 300, 200), RGB(200, 10, 10)) << "window background";
        EXPECT_EQ(printed_pixel(label, 2, 2), RGB(10, 200, 10)) << "label background";
        EXPECT_EQ(printed_pixel(button, 6, 20), RGB(10, 10, 200)) << "face of a button made after the call";

        ColourAnswer edit = colour_answer(window, WM_CTLCOLOREDIT);
        EXPECT_EQ(edit.brush, RGB(1, 2, 3));
        EXPECT_EQ(edit.back, RGB(1, 2, 3));
        EXPECT_EQ(edit.text, RGB(4, 5, 6));
        ColourAnswer list = colour_answer(window, WM_CTLCOLORLISTBOX);
        EXPECT_EQ(list.brush, RGB(7, 8, 9));
        EXPECT_EQ(list.back, RGB(7, 8, 9));
        EXPECT_EQ(list.text, RGB(10, 11, 12));
        DestroyWindow(window);
    }).join();
}

}  // namespace
