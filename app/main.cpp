// Process start and end: initialisation, the main window, the message loop, and
// the cleanup that gives exit code 0.
#include <windows.h>

#include "app/keyboard.h"
#include "app/main_window.h"
#include "runtime/external_function_table.h"
#include "runtime/run_directory.h"
#include "win/handles.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Ends last, after the libraries are released below.
    OleSession ole;
    fix_run_directory();
    create_main_window(instance);

    // Messages are taken and dispatched in their wide form: do NOT switch to
    // GetMessageA/DispatchMessageA, because Wine then hands an edit box the two
    // bytes of a typed GBK character as two separate WM_CHARs and it shows "??".
    // The windows themselves stay ANSI; the system converts for them.
    MSG message = {};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        // The window's own keys come first, ahead of translation into characters.
        if (handle_key(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    release_external_libraries();
    // The quit message carries the exit code; a broken loop ends as a normal close.
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}
