// The window's own keys, looked at in the message loop before any control sees
// them: a plain window gets no dialog navigation from the system.
#pragma once

#include <windows.h>

// True when the key was the window's own (Tab, Shift+Tab, Esc) and is used up.
bool handle_key(const MSG& message);
