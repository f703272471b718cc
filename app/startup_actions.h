// The created event of the main window.
#pragma once

#include "text/text.h"

// Opens the promotional page, then dresses the window with its skin.
void startup_actions();
// Hands a web address to the shell for the default browser; failures are silent.
void open_address(const Text& address);
