// The labels of the main window: a window class of our own that paints its text
// on the button face, since no system class draws exactly that.
#pragma once

#include <windows.h>

bool register_label_class(HINSTANCE instance);
