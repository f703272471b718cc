// The main window as designed: its frame and the eleven controls, as data that
// the window code walks instead of eleven hand-written creation calls.
#pragma once

#include <windows.h>

#include <cstdint>

#include "collect/controls.h"

enum class ControlKind { label, push_button, edit_box, list_box };
// Fonts the window makes itself; the rest use the stock DEFAULT_GUI_FONT.
enum class ControlFont { default_gui, height_21, height_20 };

struct ControlDesign {
    ControlIdentity identity;
    int control_identifier;  // the Windows one (app/control_identifiers.h)
    ControlKind kind;
    int left, top, width, height;  // client coordinates of the main window
    const char* text;
    DWORD style;  // without WS_VISIBLE: every control is created hidden
    DWORD extended_style;
    ControlFont font;
    bool visible;
    int tab_order;
};

struct WindowDesign {
    const char* class_name;
    const char* caption;
    int width, height;  // the outer size, frame and title bar included
    DWORD style;
};

extern const WindowDesign main_window_design;

// In stored order: the first on top of the z-order; ties in focus order go to
// the one stored last. The controls are created from the last row up.
constexpr int control_count = 11;
extern const ControlDesign control_designs[control_count];

// The class of the self-painted labels.
extern const char* const label_class_name;
