// Play pages and what collecting each must give. The window's end-to-end test
// and the command-line collector's test both serve these same pages and expect
// these same lists, byte for byte.
#pragma once

#include <string>
#include <vector>

using Items = std::vector<std::string>;

// Page bodies are UTF-8 (u8 literals); what the program shows is GBK (plain
// literals, which this project compiles to GBK).
inline std::string episode(const char* flag, const char* id, const char* label) {
    return std::string(u8"<div class=\"item\" name=\"tvlist\" flag=\"") + flag + "\" seq=\"1\" id=\"item_" +
           id + u8"\" title=\"第" + label + u8"集\"><a>x</a></div>\n";
}

inline std::string title(const char* content) {
    return std::string("<meta name=\"title\" content=\"") + content + "\">\n";
}

struct PageCase {
    const char* name;
    std::string body;
    std::string options;  // how the fixture server answers
    Items titles;
    Items video_ids;
    std::string result;  // the episode list, GBK
};

inline std::vector<PageCase> page_cases() {
    const std::string two = episode("1", "C3", "3") + episode("2", "C1", "1");
    return {
        {"numbered by position, not by the page's label",
         title("T") + two,
         "",
         {"T"},
         {"C3", "C1"},
         "第1集$C3\r\n第2集$C1\r\n"},
        {"an empty identifier still gives its line", episode("0", "", "1"), "", {}, {""}, "第1集$\r\n"},
        {"a list standing twice is numbered on",
         two + "<p>again</p>" + two,
         "",
         {},
         {"C3", "C1", "C3", "C1"},
         "第1集$C3\r\n第2集$C1\r\n第3集$C3\r\n第4集$C1\r\n"},
        {"two titles, in page order", title(u8"甲") + title(u8"乙"), "", {"甲", "乙"}, {}, ""},
        {"a title in Chinese",
         title(u8"青山烟雨") + two,
         "",
         {"青山烟雨"},
         {"C3", "C1"},
         "第1集$C3\r\n第2集$C1\r\n"},
        {"the body of an error page is used",
         title("Gone") + two,
         "status=404",
         {"Gone"},
         {"C3", "C1"},
         "第1集$C3\r\n第2集$C1\r\n"},
        // GBK bytes are not UTF-8: the conversion gives nothing, so nothing is found.
        {"a page in GBK gives nothing", "<meta name=\"title\" content=\"\xC7\xE0\">" + two, "", {}, {}, ""},
        {"a character GBK lacks spoils the whole page", title("T") + two + u8"\U0001F600", "", {}, {}, ""},
        {"upper-case element names are not episodes",
         "<DIV class=\"item\" name=\"tvlist\" flag=\"0\" seq=\"1\" "
         "id=\"item_Z\" title=\"\xE7\xAC\xAC"
         "1\xE9\x9B\x86\">",
         "",
         {},
         {},
         ""},
    };
}
