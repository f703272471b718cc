// The main window as its user meets it: frame, place, controls, z-order.
#include <gtest/gtest.h>

#include "tests/app/pellom.h"
#include "tests/driver/ui_driver.h"

namespace {

struct ScreenPlace {
    int screen_width, screen_height, left, top;
};
// Centred by (screen - size) / 2, truncated toward zero: partly off a small screen.
const ScreenPlace expected_places[] = {
    {1024, 768, -178, 33},
    {1920, 1080, 269, 189},
};

TEST(MainWindow, IsCentredWithItsDesignedFrame) {
    ui::Program program = start_pellom();
    HWND window = program.main_window();
    ASSERT_TRUE(window);

    EXPECT_EQ(ui::class_of(window), "WTWindow");
    EXPECT_EQ(ui::text_of(window), "Pellom【Narvique】  联系QQ   00000000");

    RECT outer = ui::screen_rect_of(window);
    EXPECT_EQ(outer.right - outer.left, 1381);
    EXPECT_EQ(outer.bottom - outer.top, 702);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    bool known_screen = false;
    for (const ScreenPlace& place : expected_places)
        if (place.screen_width == width && place.screen_height == height) {
            known_screen = true;
            EXPECT_EQ(outer.left, place.left) << width << "x" << height;
            EXPECT_EQ(outer.top, place.top) << width << "x" << height;
        }
    EXPECT_TRUE(known_screen) << "run on one of the screens above, not " << width << "x" << height;

    LONG style = ui::style_of(window);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    // The system adds the raised edge to every captioned window.
    EXPECT_EQ(ui::extended_style_of(window) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
}

struct ControlRow {
    int identifier;
    const char* class_name;
    RECT place;  // left, top, right, bottom in the window's client area
    const char* text;
    bool visible;
    LONG style;         // every bit here must be set
    LONG absent_style;  // and none of these
    LONG extended_style;
};

constexpr LONG child = WS_CHILD | WS_CLIPSIBLINGS;
constexpr LONG button = BS_CENTER | BS_VCENTER | BS_MULTILINE | child | WS_TABSTOP;
// WS_VSCROLL is not looked at: the list box drops it while it has nothing to scroll.
constexpr LONG list = LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | child | WS_TABSTOP;
constexpr LONG edit = child | WS_TABSTOP;
constexpr LONG never_edit =
    ES_READONLY | ES_PASSWORD | ES_UPPERCASE | ES_LOWERCASE | ES_NUMBER | ES_NOHIDESEL | ES_CENTER | ES_RIGHT;

// In stored order: the top of the z-order first.
const ControlRow designed_controls[] = {
    {id::标签4,
     "WTLabel",
     {456, 24, 984, 96},
     "说明：输入播放页链接 然后点采集  即可",
     true,
     child,
     WS_TABSTOP | WS_BORDER,
     0},
    {id::按钮2, "Button", {592, 504, 744, 552}, "复制", true, button, BS_DEFPUSHBUTTON, 0},
    {id::标签3, "WTLabel", {400, 576, 472, 656}, "播放页地址", true, child, WS_TABSTOP, 0},
    {id::标签2, "WTLabel", {432, 112, 656, 160}, "", true, child, WS_TABSTOP, 0},
    {id::标签1, "WTLabel", {16, 8, 88, 40}, "电视剧名字：", true, child, WS_TABSTOP, 0},
    {id::列表框3, "ListBox", {96, 8, 384, 72}, "", true, list, LBS_SORT, WS_EX_CLIENTEDGE},
    {id::编辑框2,
     "Edit",
     {480, 576, 1072, 648},
     "http://v.example.com/v_show/id_XMjMyMDQ3OTQ0.html",
     true,
     edit | ES_AUTOHSCROLL,
     never_edit | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL,
     WS_EX_CLIENTEDGE},
    {id::编辑框1,
     "Edit",
     {96, 120, 400, 672},
     "",
     true,
     edit | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
     never_edit | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL,
     WS_EX_CLIENTEDGE},
    {id::列表框2, "ListBox", {104, 456, 336, 496}, "", false, list, LBS_SORT, WS_EX_CLIENTEDGE},
    {id::列表框1, "ListBox", {32, 440, 64, 496}, "", false, list, LBS_SORT, WS_EX_CLIENTEDGE},
    {id::按钮1, "Button", {432, 488, 576, 560}, "点我采集", true, button, BS_DEFPUSHBUTTON, 0},
};

TEST(MainWindow, HoldsTheElevenControlsAsDesigned) {
    ui::Program program = start_pellom();
    HWND window = program.main_window();
    ASSERT_TRUE(window);

    for (const ControlRow& row : designed_controls) {
        SCOPED_TRACE(row.identifier);
        HWND control = program.control(row.identifier);
        ASSERT_TRUE(control);
        EXPECT_EQ(program.control_at(row.class_name, row.place.left, row.place.top), control);
        EXPECT_STREQ(ui::class_of(control).c_str(), row.class_name);
        RECT place = ui::place_of(control);
        EXPECT_EQ(place.left, row.place.left);
        EXPECT_EQ(place.top, row.place.top);
        EXPECT_EQ(place.right, row.place.right);
        EXPECT_EQ(place.bottom, row.place.bottom);
        if (ui::class_of(control) != "ListBox") {
            EXPECT_EQ(ui::text_of(control), row.text);
        }
        EXPECT_EQ(ui::is_visible(control), row.visible);
        LONG style = ui::style_of(control);
        EXPECT_EQ(style & row.style, row.style) << std::hex << style;
        EXPECT_EQ(style & row.absent_style, 0) << std::hex << style;
        EXPECT_EQ(ui::extended_style_of(control) & ~WS_EX_NOPARENTNOTIFY, row.extended_style);
        EXPECT_TRUE(IsWindowEnabled(control));
    }
}

TEST(MainWindow, StacksControlsInStoredOrder) {
    ui::Program program = start_pellom();
    HWND window = program.main_window();
    ASSERT_TRUE(window);
    std::vector<int> stacked;
    for (HWND child : ui::children_in_z_order(window)) stacked.push_back(GetDlgCtrlID(child));
    // Created from the last stored row up, so identifiers fall from the top down.
    EXPECT_EQ(stacked, (std::vector<int>{200, 190, 180, 170, 160, 150, 140, 130, 120, 110, 100}));
}

TEST(MainWindow, StartsWithEmptyListsWithoutSelection) {
    ui::Program program = start_pellom();
    ASSERT_TRUE(program.main_window());
    for (int list : {id::列表框1, id::列表框2, id::列表框3}) {
        HWND box = program.control(list);
        EXPECT_TRUE(ui::list_items(box).empty()) << list;
        EXPECT_EQ(SendMessageA(box, LB_GETCURSEL, 0, 0), LB_ERR) << list;
    }
}

// Fonts are not readable from another process, so they are judged by what they
// do: item heights and text widths equal those of the designed fonts made here.
HFONT designed_font(LONG height) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = PROOF_QUALITY;
    return CreateFontIndirectA(&font);
}

struct Measure {
    HDC dc = CreateCompatibleDC(nullptr);
    ~Measure() { DeleteDC(dc); }
    TEXTMETRICA metrics(HFONT font) {
        SelectObject(dc, font);
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        return tm;
    }
    int width(HFONT font, const std::string& text) {
        SelectObject(dc, font);
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
};

// The x of the character at index, in the box's client area.
int x_of_character(HWND edit_box, int index) {
    return static_cast<short>(LOWORD(SendMessageA(edit_box, EM_POSFROMCHAR, index, 0)));
}

TEST(MainWindow, DrawsEachControlInItsDesignedFont) {
    ui::Program program = start_pellom();
    ASSERT_TRUE(program.main_window());
    HFONT height_21 = designed_font(-21), height_20 = designed_font(-20);
    HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Measure measure;

    // List boxes: item height is the font's height plus one.
    EXPECT_EQ(SendMessageA(program.control(id::列表框3), LB_GETITEMHEIGHT, 0, 0),
              measure.metrics(height_20).tmHeight + 1);
    for (int hidden : {id::列表框1, id::列表框2})
        EXPECT_EQ(SendMessageA(program.control(hidden), LB_GETITEMHEIGHT, 0, 0),
                  measure.metrics(gui).tmHeight + 1)
            << hidden;

    // Edit boxes: how far the text runs.
    HWND address_box = program.control(id::编辑框2);
    std::string address = ui::text_of(address_box);
    int last = static_cast<int>(address.size()) - 1;
    EXPECT_EQ(x_of_character(address_box, last) - x_of_character(address_box, 0),
              measure.width(height_21, address.substr(0, last)));
    HWND result_box = program.control(id::编辑框1);
    const std::string sample = "XMjMyMDQ3OTQ0";
    ui::set_text(result_box, sample);
    last = static_cast<int>(sample.size()) - 1;
    EXPECT_EQ(x_of_character(result_box, last) - x_of_character(result_box, 0),
              measure.width(gui, sample.substr(0, last)));
    DeleteObject(height_21);
    DeleteObject(height_20);
}

// The window's icon as carried in the program: both sizes drawn, not scaled.
TEST(MainWindow, CarriesItsIconAtBothSizes) {
    HMODULE program = LoadLibraryExA(ui::pellom_exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program);
    HRSRC group = FindResourceA(program, "DEFAULT_ICON", reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    ASSERT_TRUE(group);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(program, group)));
    for (int size : {32, 16}) {
        int image = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(image), reinterpret_cast<LPCSTR>(RT_ICON));
        ASSERT_TRUE(found) << size;
        auto* header = static_cast<BITMAPINFOHEADER*>(LockResource(LoadResource(program, found)));
        EXPECT_EQ(header->biWidth, size);
        EXPECT_EQ(header->biHeight, 2 * size);  // colour and mask
    }
    FreeLibrary(program);
}

}  // namespace
