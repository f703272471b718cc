// What runs while the main window exists but is not yet shown.
#include "app/startup_actions.h"

#include <windows.h>
#include <shellapi.h>

#include "skin/skin.h"

namespace {

constexpr const char* promotional_page = "http://www.example.com/";
constexpr std::int32_t window_skin = 13;

}  // namespace

void open_address(const Text& address) {
    // A running browser window of that title, if any, owns whatever the shell shows.
    HWND browser = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    ShellExecuteA(browser, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void startup_actions() {
    open_address(Text(promotional_page));
    apply_skin(window_skin);
}
