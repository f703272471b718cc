// The one window of the program and what the rest of app/ needs to know of it.
#pragma once

#include <windows.h>

// Creates the window and its controls, runs the created event and shows the
// window. A window that cannot be created ends the process with the fatal report.
void create_main_window(HINSTANCE instance);

// Null before creation and after destruction.
HWND main_window();

// Focus moves among the visible, enabled tab stops that are not labels, in the
// designed focus order, wrapping at both ends.
void move_focus(bool backwards);
