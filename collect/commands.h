// The two click handlers of the main window and the operations they use.
#pragma once

#include <cstdint>

#include "text/text.h"

// 按钮1: the episode list of the play page named in 编辑框2, into 编辑框1.
void collect();
// 按钮2: the text of 编辑框1 onto the clipboard, then the confirmation box.
void copy_result();

// True when the text was handed to the clipboard as CF_TEXT.
bool put_clipboard_text(const Text& text);
// MessageBoxA without owner, task-modal unless system-modal; the button, 0 for OK.
int show_message(const Text& text, std::uint32_t flags, const Text& caption);
