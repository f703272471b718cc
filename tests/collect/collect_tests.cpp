// The collect button as its user uses it: an address in 编辑框2, a click, and the
// title and episode list the program shows, against pages on a loopback server.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/pellom.h"
#include "tests/collect/page_cases.h"
#include "tests/driver/ui_driver.h"
#include "tests/fixtures/http_fixture.h"

namespace {

std::string file_bytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class Collect : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.port(), 0) << "run through CTest: WT_HTTP_PORT names the fixture server";
        ASSERT_TRUE(server.reset());
        ASSERT_TRUE(program.main_window());
    }

    // Types the address and clicks 点我采集; returns once the handler has returned.
    void collect_from(const std::string& address) {
        ui::set_text(program.control(id::编辑框2), address);
        ASSERT_TRUE(ui::click_and_wait(program.control(id::按钮1), 30000));
    }

    // Serves body at target and collects from it.
    void collect_page(const std::string& target, const std::string& body, const std::string& options = "") {
        ASSERT_TRUE(server.route(target, options, body));
        collect_from(server.url(target));
    }

    Items items(int list_box) { return ui::list_items(program.control(list_box)); }
    std::string result() { return ui::text_of(program.control(id::编辑框1)); }

    FixtureHttpServer server;
    ui::Program program = start_pellom();
};

TEST_F(Collect, TheWorkedExample) {
    collect_page("/v_show/id_X1.html", "<html><head>" + title("Series X") + "</head><body>\n" +
                                           episode("0", "AAA111", "1") + episode("0", "BBB222", "2") +
                                           "</body></html>\n");
    EXPECT_EQ(items(id::列表框1), (Items{"0", "0"}));
    EXPECT_EQ(items(id::列表框2), (Items{"AAA111", "BBB222"}));
    EXPECT_EQ(items(id::列表框3), (Items{"Series X"}));
    EXPECT_EQ(result(), "第1集$AAA111\r\n第2集$BBB222\r\n");
    EXPECT_EQ(result().size(), 28u);
    // The working lists stay hidden whatever they hold.
    EXPECT_FALSE(ui::is_visible(program.control(id::列表框1)));
    EXPECT_FALSE(ui::is_visible(program.control(id::列表框2)));
}

// Each row is one page served and collected by the same running program, so
// every run must also replace what the one before it left.
TEST_F(Collect, PagesAndWhatTheyGive) {
    int page = 0;
    for (const PageCase& c : page_cases()) {
        SCOPED_TRACE(c.name);
        collect_page("/page" + std::to_string(++page), c.body, c.options);
        EXPECT_EQ(items(id::列表框3), c.titles);
        EXPECT_EQ(items(id::列表框2), c.video_ids);
        EXPECT_EQ(items(id::列表框1).size(), c.video_ids.size());
        EXPECT_EQ(result(), c.result);
    }
}

// Past 512 bytes an item once overran a fixed buffer of Wine's on its way out of
// the list box, and the whole list came out empty. Only the result box is read:
// the driver itself cannot read items that long from another process.
TEST_F(Collect, AnIdentifierLongerThan512BytesKeepsItsLine) {
    const std::string long_id(800, 'L');
    collect_page("/long", episode("0", long_id.c_str(), "1") + episode("0", "B", "2"));
    EXPECT_EQ(items(id::列表框2).size(), 2u);
    EXPECT_EQ(result(), "第1集$" + long_id + "\r\n第2集$B\r\n");
}

TEST_F(Collect, ASecondRunReplacesInsteadOfAdding) {
    const std::string page = title("T") + episode("0", "A", "1");
    collect_page("/again", page);
    ui::set_text(program.control(id::编辑框1), "the user's own notes");
    collect_from(server.url("/again"));
    EXPECT_EQ(items(id::列表框3), (Items{"T"}));
    EXPECT_EQ(items(id::列表框2), (Items{"A"}));
    EXPECT_EQ(result(), "第1集$A\r\n");
}

TEST_F(Collect, FailuresLeaveEverythingEmptyAndSayNothing) {
    collect_page("/full", title("T") + episode("0", "A", "1"));
    ASSERT_EQ(result(), "第1集$A\r\n");

    struct Case {
        const char* name;
        std::string address;
    };
    const Case cases[] = {
        {"an empty address", ""},
        {"a refused connection", "http://127.0.0.1:" + std::to_string(refused_loopback_port()) + "/x.html"},
        {"an address without a scheme", "127.0.0.1/x.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(server.reset());
        collect_from(c.address);
        EXPECT_EQ(items(id::列表框1), Items{});
        EXPECT_EQ(items(id::列表框2), Items{});
        EXPECT_EQ(items(id::列表框3), Items{});
        EXPECT_EQ(result(), "");
        EXPECT_EQ(program.message_box(200), nullptr);
        EXPECT_EQ(server.log(), "") << "no request may reach the server";
    }
}

TEST_F(Collect, TheSamplePageThenCopy) {
    collect_page("/v_show/id_XMjMyMDQ3OTQ0.html", file_bytes(WT_PLAY_PAGE));
    EXPECT_EQ(items(id::列表框3), (Items{"青山烟雨"}));
    const Items ids = items(id::列表框2);
    ASSERT_EQ(ids.size(), 12u);
    std::string expected;
    for (size_t i = 0; i < ids.size(); ++i) {
        EXPECT_FALSE(ids[i].empty());
        expected += "第" + std::to_string(i + 1) + "集$" + ids[i] + "\r\n";
    }
    EXPECT_EQ(result(), expected);

    ui::click(program.control(id::按钮2));
    HWND box = program.message_box();
    ASSERT_TRUE(box);
    EXPECT_EQ(ui::message_box_text(box), "复制成功");
    ui::close_message_box(box);
    std::optional<ui::ClipboardText> copied = ui::clipboard_text();
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->text, expected);
}

}  // namespace
