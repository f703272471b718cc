// 按钮2: the text of 编辑框1 onto the clipboard, confirmed only when it got there.
#include "collect/controls.h"
#include "collect/commands.h"

void copy_result() {
    if (put_clipboard_text(read_text(role::result_box)))
        show_message(Text("复制成功"), 0, Text("Pellom提醒："));
}
