// pellom-collect as scripts use it: addresses in, the window's lists out, one
// line of reason on standard error for every address that gives no episode.
#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/run_program.h"
#include "tests/collect/page_cases.h"
#include "tests/fixtures/http_fixture.h"

namespace {

std::string file_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::set<std::string> folder_entries(const std::string& folder) {
    std::set<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.insert(entry->d_name);
        closedir(dir);
    }
    return names;
}

int count_lines(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.port(), 0) << "run through CTest: WT_HTTP_PORT names the fixture server";
        ASSERT_TRUE(server.reset());
    }

    ProgramRun collect(std::vector<std::string> arguments, std::string standard_input = "") {
        ProgramInput input;
        input.arguments = std::move(arguments);
        input.standard_input = std::move(standard_input);
        return run_program(WT_PELLOM_COLLECT, input);
    }

    // Serves body at target and gives its address.
    std::string serve(const std::string& target, const std::string& body, const std::string& options = "") {
        EXPECT_TRUE(server.route(target, options, body)) << target;
        return server.url(target);
    }

    FixtureHttpServer server;
};

// The window's own table: every page gives, byte for byte, what the window's
// result box holds, and a page that gives none says so and fails the run.
TEST_F(Cli, TheWindowsPagesGiveTheWindowsLists) {
    int page = 0;
    std::string all_lists;
    std::vector<std::string> addresses;
    for (const PageCase& c : page_cases()) {
        SCOPED_TRACE(c.name);
        const std::string address = serve("/page" + std::to_string(++page), c.body, c.options);
        const ProgramRun run = collect({address});
        EXPECT_EQ(run.out, c.result);
        if (c.result.empty()) {
            EXPECT_EQ(run.exit_code, 1);
            EXPECT_EQ(run.err.find("pellom-collect: " + address + ": "), 0u) << run.err;
            EXPECT_EQ(count_lines(run.err), 1) << run.err;
        } else {
            EXPECT_EQ(run.exit_code, 0);
            EXPECT_EQ(run.err, "");
        }
        addresses.push_back(address);
        all_lists += c.result;
    }
    // All at once, some downloaded side by side: still in the order given.
    const ProgramRun batch = collect(addresses);
    EXPECT_EQ(batch.out, all_lists);
    EXPECT_EQ(batch.exit_code, 1);
}

TEST_F(Cli, OutputFollowsTheOrderGivenNotTheOrderOfArrival) {
    const std::string slow = serve("/slow", episode("0", "SLOW", "1"), "delay=0.5");
    const std::string fast = serve("/fast", episode("0", "FAST", "1"));
    const ProgramRun run = collect({slow, fast, slow});
    EXPECT_EQ(run.out, "第1集$SLOW\r\n第1集$FAST\r\n第1集$SLOW\r\n");
    EXPECT_EQ(run.exit_code, 0);
}

TEST_F(Cli, AddressesOneALineOnStandardInput) {
    const std::string a = serve("/a", episode("0", "A", "1"));
    const std::string b = serve("/b", episode("0", "B", "1") + episode("0", "B2", "2"));
    // Blank lines, blanks around an address and CR LF endings are no part of any address.
    const ProgramRun run = collect({}, a + "\n\n  " + b + "\t\r\n" + a);
    EXPECT_EQ(run.out, "第1集$A\r\n第1集$B\r\n第2集$B2\r\n第1集$A\r\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.exit_code, 0);
}

TEST_F(Cli, BlanksInAnAddressAreSentAsTheWindowSendsThem) {
    serve("/play%20list.html?x=a%20b", episode("0", "BLANK", "1"));
    const ProgramRun run = collect({server.url("/play list.html?x=a b")});
    EXPECT_EQ(run.out, "第1集$BLANK\r\n");
    EXPECT_EQ(run.exit_code, 0);
}

TEST_F(Cli, Utf8OnRequest) {
    const std::string address = serve("/zh", title(u8"青山烟雨") + episode("0", "C3", "3"));
    const ProgramRun run = collect({"--utf-8", address});
    EXPECT_EQ(run.out, u8"第1集$C3\r\n");
    EXPECT_EQ(run.exit_code, 0);
}

// One line each, naming the address and a reason a person can act on.
TEST_F(Cli, EveryReasonForNoEpisode) {
    const std::string broken_utf8 =
        u8"<p>第1集</p>"
        "\xFF"
        "<p>tail</p>";
    struct Case {
        const char* name;
        std::string address;
        std::string reason;
    };
    const Case cases[] = {
        {"no scheme", "127.0.0.1/x.html", "not an http or https address"},
        {"another scheme", "ftp://127.0.0.1/x.html", "not an http or https address"},
        {"empty", "", "not an http or https address"},
        {"refused", "http://127.0.0.1:" + std::to_string(refused_loopback_port()) + "/x.html",
         "could not connect: Connection refused"},
        {"timed out", serve("/stall", "", "stall=1"), "timed out after 1 s without data, 0 bytes received"},
        {"HTTP status", serve("/gone", "no such page", "status=404"), "HTTP status 404, 12 bytes"},
        {"not UTF-8", serve("/broken", broken_utf8),
         "not convertible from UTF-8 to GBK at byte 14 of " + std::to_string(broken_utf8.size()) + " bytes"},
        {"no element", serve("/empty", "<html></html>"), "no episode element matched in 13 bytes"},
        {"broken off", serve("/cut", episode("0", "A", "1") + std::string(2000, ' '), "break_after=100"),
         "connection broke off after 100 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramInput input;
        input.arguments = {c.address};
        input.environment = {"WT_TEST_DOWNLOAD_TIMEOUT_MS=1000"};
        const ProgramRun run = run_program(WT_PELLOM_COLLECT, input);
        EXPECT_EQ(run.err, "pellom-collect: " + c.address + ": " + c.reason + "\n");
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.exit_code, 1);
    }
}

// The window's cap: ten redirects are followed, the eleventh is refused.
TEST_F(Cli, RedirectsUpToTheWindowsCap) {
    for (int hop = 0; hop < 11; ++hop)
        serve("/hop" + std::to_string(hop), "",
              "status=302&header=Location:%20/hop" + std::to_string(hop + 1));
    serve("/hop11", episode("0", "END", "1"));
    const ProgramRun ten = collect({server.url("/hop1")});
    EXPECT_EQ(ten.out, "第1集$END\r\n");
    EXPECT_EQ(ten.exit_code, 0);
    const ProgramRun eleven = collect({server.url("/hop0")});
    EXPECT_EQ(eleven.err, "pellom-collect: " + server.url("/hop0") + ": more than 10 redirects\n");
    EXPECT_EQ(eleven.exit_code, 1);
}

TEST_F(Cli, ExitCodes) {
    const std::string good = serve("/good", episode("0", "G", "1"));
    const std::string none = serve("/none", "<html></html>");
    EXPECT_EQ(collect({good, good}).exit_code, 0);
    EXPECT_EQ(collect({good, none}).exit_code, 1);
    EXPECT_EQ(collect({none}).exit_code, 1);

    const std::string file = ::testing::TempDir() + "cli_tests_not_a_folder";
    std::ofstream(file) << "x";
    const struct {
        const char* name;
        std::vector<std::string> arguments;
    } usage_errors[] = {
        {"unknown option", {"--verbose", good}},
        {"--output without its folder", {good, "--output"}},
        {"no address, nothing on standard input", {}},
        {"--output names a file", {"--output", file, good}},
    };
    for (const auto& c : usage_errors) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(server.reset());
        const ProgramRun run = collect(c.arguments);
        EXPECT_EQ(run.exit_code, 2);
        EXPECT_NE(run.err.find("usage: pellom-collect"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(server.log(), "") << "a usage error downloads nothing";
    }
    unlink(file.c_str());
}

TEST_F(Cli, AnOutputFolderWithClashingTitles) {
    char folder_template[] = "/tmp/cli_tests_output_XXXXXX";
    ASSERT_TRUE(mkdtemp(folder_template));
    const std::string folder = folder_template;
    const std::string sample = file_bytes(WT_PLAY_PAGE);  // titled 青山烟雨
    const std::vector<std::string> addresses = {
        serve("/sample", sample),
        serve("/sample-again", sample),
        serve("/unsafe", title("a/b:c") + episode("0", "U", "1")),
        serve("/dots", title("..") + episode("0", "D", "1")),
        serve("/untitled", episode("0", "N", "1")),
        serve("/none", title(u8"青山烟雨")),  // no episode: no file, and no number taken
    };
    // A file from an earlier run is replaced whole.
    std::ofstream(folder + "/untitled.txt") << "an older and much longer list than the new one";

    std::vector<std::string> arguments = {"--output", folder};
    arguments.insert(arguments.end(), addresses.begin(), addresses.end());
    const ProgramRun run = collect(arguments);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(count_lines(run.err), 1) << run.err;

    EXPECT_EQ(folder_entries(folder), (std::set<std::string>{u8"青山烟雨.txt", u8"青山烟雨 (2).txt",
                                                             "a_b_c.txt", "_..txt", "untitled.txt"}));
    const std::string sample_list = collect({addresses[0]}).out;
    ASSERT_FALSE(sample_list.empty());
    EXPECT_EQ(file_bytes(folder + u8"/青山烟雨.txt"), sample_list);
    EXPECT_EQ(file_bytes(folder + u8"/青山烟雨 (2).txt"), sample_list);
    EXPECT_EQ(file_bytes(folder + "/a_b_c.txt"), "第1集$U\r\n");
    EXPECT_EQ(file_bytes(folder + "/_..txt"), "第1集$D\r\n");
    EXPECT_EQ(file_bytes(folder + "/untitled.txt"), "第1集$N\r\n");

    for (const std::string& name : folder_entries(folder)) unlink((folder + "/" + name).c_str());
    rmdir(folder.c_str());
}

TEST_F(Cli, ProgressOnlyOnATerminal) {
    const std::string address = serve("/p", episode("0", "P", "1"));
    ProgramInput input;
    input.arguments = {address, address};
    input.error_to_terminal = true;
    const ProgramRun run = run_program(WT_PELLOM_COLLECT, input);
    EXPECT_NE(run.terminal.find("collected 1 of 2"), std::string::npos) << run.terminal;
    // Cleared once done, so that the shell's prompt starts on a clean line.
    EXPECT_EQ(run.terminal.substr(run.terminal.size() - 4), "\r\033[K") << run.terminal;
    EXPECT_EQ(run.out, "第1集$P\r\n第1集$P\r\n");
    // Piped, standard error stays clean for scripts: every other test expects it empty.
    EXPECT_EQ(collect({address}).err, "");
}

}  // namespace
