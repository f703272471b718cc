// Times one collection of a served play page, as a program to run by hand
// (bench/collect_bench.sh), never as a test: the real program's click-to-return
// time, and the same steps repeated here in-process to split it up.
//
//     collect_bench.exe PORT TARGET...   (pages already served on 127.0.0.1:PORT)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "episodes/page_expressions.h"
#include "net/http_get_body.h"
#include "pattern/regex.h"
#include "tests/app/pellom.h"
#include "tests/driver/ui_driver.h"
#include "text/transcode.h"

namespace {

double now_ms() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

struct Split {
    double download, conversion, search, list_boxes, output, edit_box;
    std::uint32_t bytes, episodes;
    double total() const { return necessary() + edit_box; }
    // What any program that shows the list must do, whatever its edit box costs.
    double necessary() const { return download + conversion + search + list_boxes + output; }
};

// The collection's steps on list boxes and an edit box of this process's own,
// made like the program's, so that each step can be timed on its own.
Split split_collection(const std::string& address) {
    const DWORD list_style = LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_CHILD;
    HWND parent =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 600, nullptr, nullptr, nullptr, nullptr);
    HWND flags = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", list_style, 0, 0, 50, 50, parent, nullptr,
                                 nullptr, nullptr);
    HWND ids = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", list_style, 0, 0, 50, 50, parent, nullptr,
                               nullptr, nullptr);
    HWND titles = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", list_style, 0, 0, 50, 50, parent, nullptr,
                                  nullptr, nullptr);
    HWND result = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                  WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0, 304, 552,
                                  parent, nullptr, nullptr, nullptr);
    SendMessageA(result, EM_LIMITTEXT, 0, 0);
    SendMessageA(result, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);  // the program's

    Split split = {};
    double start = now_ms();
    ByteSet body = http_get_body(Text(address.c_str()));
    split.bytes = body.size();
    double at = now_ms();
    split.download = at - start;

    start = at;
    const Text page = text_of_bytes(transcode(body, "UTF-8", "GBK"));
    at = now_ms();
    split.conversion = at - start;

    start = at;
    regex expression;
    expression.create(Text(episode_expression));
    Array<SearchResult> episodes = expression.search_all(page);
    expression.create(Text(title_expression));
    Array<SearchResult> series = expression.search_all(page);
    at = now_ms();
    split.search = at - start;
    split.episodes = array_element_count(episodes);

    start = at;
    auto add_group = [&](HWND list_box, const Array<SearchResult>& results, int group) {
        for (std::uint32_t i = 0; i < array_element_count(results); ++i) {
            Text item = submatch_text(results[i], page, group);
            SendMessageA(list_box, LB_ADDSTRING, 0, LPARAM(item.c_str()));
        }
    };
    // As the program does: the working lists catch up their scroll bars once.
    for (HWND list_box : {flags, ids}) SendMessageA(list_box, WM_SETREDRAW, FALSE, 0);
    add_group(flags, episodes, episode_flag_group);
    add_group(ids, episodes, episode_video_id_group);
    for (HWND list_box : {flags, ids}) SendMessageA(list_box, WM_SETREDRAW, TRUE, 0);
    add_group(titles, series, title_group);
    at = now_ms();
    split.list_boxes = at - start;

    start = at;
    Text list;
    const LRESULT count = SendMessageA(ids, LB_GETCOUNT, 0, 0);
    std::vector<char> item;
    for (LRESULT i = 0; i < count; ++i) {
        item.resize(size_t(SendMessageA(ids, LB_GETTEXTLEN, WPARAM(i), 0)) + 1);
        SendMessageA(ids, LB_GETTEXT, WPARAM(i), LPARAM(item.data()));
        Text number = text_of_int(std::int32_t(i + 1));
        for (TextPiece piece : {TextPiece("第"), TextPiece(number), TextPiece("集$"), TextPiece(item.data()),
                                TextPiece("\r\n")})
            list.append(piece.bytes, piece.length);
    }
    at = now_ms();
    split.output = at - start;

    start = at;
    SetWindowTextA(result, list.c_str());
    split.edit_box = now_ms() - start;

    DestroyWindow(parent);
    return split;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: collect_bench PORT TARGET...\n");
        return 2;
    }
    const std::string base = std::string("http://127.0.0.1:") + argv[1];
    ui::Program program = start_pellom();
    HWND window = program.main_window();
    if (!window) return 1;

    std::printf("%-16s %9s %9s | %9s %9s %9s %9s %9s %9s %9s\n", "page", "episodes", "click ms", "download",
                "convert", "search", "lists", "output", "edit box", "sum");
    std::vector<double> best_clicks, necessary;
    for (int t = 2; t < argc; ++t) {
        const std::string address = base + argv[t];
        std::vector<double> clicks;
        double repaint = 0;
        PROCESS_MEMORY_COUNTERS before = {};
        GetProcessMemoryInfo(program.process(), &before, sizeof before);
        for (int run = 0; run < 3; ++run) {
            ui::set_text(program.control(id::编辑框2), address);
            double start = now_ms();
            if (!ui::click_and_wait(program.control(id::按钮1), 120000)) return 1;
            clicks.push_back(now_ms() - start);
            // What the window paints once the handler has returned.
            start = now_ms();
            RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            repaint = now_ms() - start;
        }
        // Under Wine the peak working set is Linux's true peak (VmHWM).
        PROCESS_MEMORY_COUNTERS after = {};
        GetProcessMemoryInfo(program.process(), &after, sizeof after);
        const double peak_mb = (after.PeakWorkingSetSize - before.WorkingSetSize) / 1048576.0;

        // The program's own controls, from outside: what the next click's
        // emptying costs, and what its edit box takes to be handed the list.
        HWND edit = program.control(id::编辑框1);
        const std::string output = ui::text_of(edit);
        double start = now_ms();
        for (int list_box : {id::列表框1, id::列表框2, id::列表框3})
            SendMessageA(program.control(list_box), LB_RESETCONTENT, 0, 0);
        const double clear_lists = now_ms() - start;
        start = now_ms();
        SendMessageA(edit, WM_SETTEXT, 0, LPARAM(""));
        const double clear_edit = now_ms() - start;
        start = now_ms();
        SendMessageA(edit, WM_SETTEXT, 0, LPARAM(output.c_str()));
        const double set_edit = now_ms() - start;

        Split split = split_collection(address);
        for (int run = 0; run < 2; ++run) {
            Split again = split_collection(address);
            if (again.total() < split.total()) split = again;
        }
        best_clicks.push_back(*std::min_element(clicks.begin(), clicks.end()));
        necessary.push_back(split.necessary());
        std::printf("%-16s %9u %9.1f | %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f   (%u bytes)\n", argv[t],
                    split.episodes, best_clicks.back(), split.download, split.conversion, split.search,
                    split.list_boxes, split.output, split.edit_box, split.total(), split.bytes);
        std::printf(
            "%-16s clicks %.1f %.1f %.1f ms (the later ones first empty the earlier results); repaint "
            "after the click %.1f ms\n",
            "", clicks[0], clicks[1], clicks[2], repaint);
        std::printf(
            "%-16s the program's own controls: emptying the lists %.1f ms, the edit box %.1f ms; "
            "handing the edit box the list %.1f ms\n",
            "", clear_lists, clear_edit, set_edit);
        // The click as the steps above, with the program's own edit box in place of this one's.
        const double accounted = split.necessary() + set_edit;
        std::printf(
            "%-16s accounted: steps without edit box %.1f + the program's edit box %.1f = %.1f ms of the "
            "%.1f ms click (%.0f%%)\n",
            "", split.necessary(), set_edit, accounted, best_clicks.back(),
            100 * accounted / best_clicks.back());
        std::printf("%-16s click / (download + convert + search + lists + output) = %.2f (target 2.5)\n", "",
                    best_clicks.back() / split.necessary());
        std::printf(
            "%-16s peak memory of the program over the clicks: %.1f MB above its start, %.2fx the page\n", "",
            peak_mb, peak_mb / (split.bytes / 1048576.0));
        std::fflush(stdout);
    }
    if (best_clicks.size() == 2)
        std::printf(
            "click time ratio, second page to first: %.2f (target at most 10); of the steps without the "
            "edit box: %.2f\n",
            best_clicks[1] / best_clicks[0], necessary[1] / necessary[0]);
    PostMessageA(window, WM_CLOSE, 0, 0);
    program.exit_code();
    return 0;
}
