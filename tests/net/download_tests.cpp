// http_get_body against the loopback fixture server: what goes on the wire and
// what the caller gets back for each way a server can answer or misbehave.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net/download_limits.h"
#include "net/download_steps.h"
#include "net/http_get_body.h"
#include "tests/fixtures/http_fixture.h"

namespace {

std::string as_string(const ByteSet& body) {
    return std::string(reinterpret_cast<const char*>(body.data()), body.size());
}

std::string fetch(const std::string& address) { return as_string(http_get_body(Text(address.c_str()))); }

// Short enough for a test, long enough for Wine to serve a loopback answer.
const DownloadTimeouts short_timeouts = {1000, 1000, 1000};
const double short_timeout_seconds = 1.0;

struct TimedFetch {
    std::string body;
    double seconds;
};

TimedFetch fetch_timed(const std::string& address, const DownloadTimeouts& timeouts) {
    DWORD start = GetTickCount();
    std::string body = as_string(http_get_body(Text(address.c_str()), timeouts));
    return {body, (GetTickCount() - start) / 1000.0};
}

// Each request head of the server's log, without its blank line.
std::vector<std::string> request_heads(const std::string& log) {
    std::vector<std::string> heads;
    for (std::size_t at = 0, end; (end = log.find("\r\n\r\n", at)) != std::string::npos; at = end + 4)
        heads.push_back(log.substr(at, end - at));
    return heads;
}

// The header lines of a request head, in sorted order: what was sent, not where.
std::vector<std::string> header_lines(const std::string& head) {
    std::vector<std::string> lines;
    for (std::size_t at = head.find("\r\n"); at != std::string::npos;) {
        std::size_t end = head.find("\r\n", at + 2);
        lines.push_back(head.substr(at + 2, end == std::string::npos ? end : end - at - 2));
        at = end;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

class Download : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.port(), 0) << "run through CTest: WT_HTTP_PORT names the fixture server";
        ASSERT_TRUE(server.reset());
    }
    FixtureHttpServer server;
};

// First in this program, so the session is still unopened when it runs.
TEST_F(Download, EmptyAddressReturnsAtOnceWithoutOpeningTheSession) {
    HINTERNET before = internet_session.handle;
    EXPECT_EQ(fetch(""), "");
    EXPECT_EQ(internet_session.handle, before);
    EXPECT_EQ(server.log(), "");
}

TEST_F(Download, RequestIsAPlainGetOfTheObjectWithoutFragment) {
    // The GBK bytes of 第 must reach the server as they were typed. Blanks are
    // left alone by the download; WinInet itself escapes them as %20 in the
    // request line, so the route answers either form.
    const std::string object = "/play list\xB5\xDA.html?id=7&x=a b";
    const std::string escaped = "/play%20list\xB5\xDA.html?id=7&x=a%20b";
    ASSERT_TRUE(server.route(object, "", "page"));
    ASSERT_TRUE(server.route(escaped, "", "page"));
    EXPECT_EQ(fetch(server.url(object + "#episode-3")), "page");

    std::string log = server.log();
    std::string request_line = log.substr(0, log.find("\r\n"));
    EXPECT_TRUE(request_line == "GET " + object + " HTTP/1.0" ||
                request_line == "GET " + escaped + " HTTP/1.0")
        << request_line;
    EXPECT_NE(log.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("\r\nAccept: */*"), std::string::npos) << log;
}

TEST_F(Download, BodyIsReadToTheEndOfWhatThePlatformHandsOver) {
    std::string binary;
    for (int i = 0; i < 512; ++i) binary += static_cast<char>(i % 256);
    const std::string page = "<html>\xE7\xAC\xAC 1 \xE9\x9B\x86</html>";
    const std::string large(300000, 'L');  // several chunks of the largest size
    const struct {
        const char* name;
        const char* options;
        std::string body;
        std::string expected;
    } cases[] = {
        {"binary with zero bytes", "", binary, binary},
        {"error page", "status=404", "<h1>not here</h1>", "<h1>not here</h1>"},
        {"server error", "status=500", "oops", "oops"},
        {"no length", "length=none", page, page},
        // The length only sizes the chunk. (The server writes head and body
        // together; Wine's WinInet then hands over every byte that came with
        // the head, whatever the header announced.)
        {"length zero", "length=0", page, page},
        {"length smaller", "length=3", page, page},
        {"length larger", "length=100000", page, page},
        {"large, no length", "length=none", large, large},
        {"large", "", large, large},
        {"empty", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string object = std::string("/case/") + c.name;
        for (char& byte : object) byte = byte == ' ' ? '-' : byte;
        ASSERT_TRUE(server.route(object, c.options, c.body));
        std::string body = fetch(server.url(object));
        EXPECT_EQ(body.size(), c.expected.size());
        EXPECT_TRUE(body == c.expected);
    }
}

TEST_F(Download, BrokenConnectionReturnsTheBytesThatArrived) {
    // Wine's WinInet fills the whole chunk before a read returns, and a read
    // that fails hands over nothing: the bytes of the reads completed before
    // the reset come back, at most those of the chunk it broke off stay lost.
    const std::string body(300000, 'b');
    const struct {
        const char* options;
        std::uint32_t sent;
        std::uint32_t chunk;
    } cases[] = {
        {"length=none&break_after=31220", 31220, 10240},
        {"break_after=250000", 250000, 102400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        ASSERT_TRUE(server.route("/broken", c.options, body));
        std::string received = fetch(server.url("/broken"));
        EXPECT_GE(received.size(), c.sent / c.chunk * c.chunk);
        EXPECT_LE(received.size(), c.sent);
        EXPECT_EQ(received, body.substr(0, received.size()));
    }
}

TEST_F(Download, RedirectsArriveWithEachHopSentAsTheFirstRequest) {
    const std::string here = "127.0.0.1:" + std::to_string(server.port());
    const struct {
        const char* name;
        std::string options;
        std::string target;  // where the redirect leads, as the server sees it
    } cases[] = {
        {"301 to a path", "status=301&header=Location:%20/dir/to", "/dir/to"},
        {"302 relative", "status=302&header=Location:%20to", "/dir/to"},
        {"303 to an address", "status=303&header=Location:%20http://" + here + "/to", "/to"},
        {"307 with a fragment", "status=307&header=Location:%20/to%23part", "/to"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(server.reset());
        ASSERT_TRUE(server.route("/dir/from", c.options, "redirect page"));
        ASSERT_TRUE(server.route(c.target, "status=302&header=Location:%20/page", "second redirect page"));
        ASSERT_TRUE(server.route("/page", "", "arrived"));
        EXPECT_EQ(fetch(server.url("/dir/from")), "arrived");

        std::vector<std::string> heads = request_heads(server.log());
        ASSERT_EQ(heads.size(), 3u);
        EXPECT_EQ(heads[1].substr(0, heads[1].find("\r\n")), "GET " + c.target + " HTTP/1.0");
        EXPECT_EQ(heads[2].substr(0, heads[2].find("\r\n")), "GET /page HTTP/1.0");
        for (const std::string& head : heads) EXPECT_EQ(header_lines(head), header_lines(heads[0])) << head;
    }
}

TEST_F(Download, RedirectItCannotFollowGivesItsOwnBody) {
    // Wine's address combination overruns the heap past INTERNET_MAX_URL_LENGTH
    // characters: such a location must not reach it.
    const std::string long_location = "http://" + std::string(120, 'u') + ":" + std::string(120, 'p') +
                                      "@127.0.0.1:" + std::to_string(server.port()) + "/" +
                                      std::string(1900, 'o');
    ASSERT_TRUE(server.route(long_location.substr(long_location.find('/', 7)), "", "too far"));
    const std::string no_location = "status=302";
    const std::string long_one = "status=302&header=Location:%20" + long_location;
    for (const std::string& options : {no_location, long_one}) {
        SCOPED_TRACE(options.substr(0, 40));
        ASSERT_TRUE(server.route("/moved", options, "moved, but not said where"));
        EXPECT_EQ(fetch(server.url("/moved")), "moved, but not said where");
    }
}

TEST_F(Download, RedirectsEndAtTheLimit) {
    // A chain of exactly the limit still arrives; a loop is given up after it.
    for (int hop = 0; hop < download_redirect_limit; ++hop) {
        ASSERT_TRUE(server.route("/hop" + std::to_string(hop),
                                 "status=302&header=Location:%20/hop" + std::to_string(hop + 1)));
    }
    ASSERT_TRUE(server.route("/hop" + std::to_string(download_redirect_limit), "", "end of the chain"));
    TimedFetch chain = fetch_timed(server.url("/hop0"), short_timeouts);
    EXPECT_EQ(chain.body, "end of the chain");
    EXPECT_EQ(request_heads(server.log()).size(), download_redirect_limit + 1u);
    EXPECT_LT(chain.seconds, 10.0);

    ASSERT_TRUE(server.reset());
    ASSERT_TRUE(server.route("/a", "status=302&header=Location:%20/b", "a"));
    ASSERT_TRUE(server.route("/b", "status=301&header=Location:%20/a", "b"));
    TimedFetch loop = fetch_timed(server.url("/a"), short_timeouts);
    EXPECT_EQ(loop.body, "");
    EXPECT_EQ(request_heads(server.log()).size(), download_redirect_limit + 1u);
    EXPECT_LT(loop.seconds, 10.0);

    ASSERT_TRUE(server.route("/after", "", "still works"));
    EXPECT_EQ(fetch(server.url("/after")), "still works");
}

TEST_F(Download, StalledServerEndsTheDownloadWithinItsTimeouts) {
    // The server holds a stalled connection for a minute: a download that kept
    // no time-out would end then, far past the bound.
    const std::string body(300000, 's');
    const struct {
        const char* name;
        const char* options;
        std::uint32_t least;  // bytes back: whole chunks read before the stall...
        std::uint32_t most;   // ...and at most what was sent
        int waits;            // receive time-outs the download may sit through
    } cases[] = {
        {"before the status line", "stall=1", 0, 0, 1},
        // WinInet reads on past a header line that times out, then to the body.
        {"inside the headers", "stall=head", 0, 0, 3},
        {"mid-body, no length", "length=none&stall_after=31220", 30720, 31220, 1},
        {"mid-body", "stall_after=250000", 204800, 250000, 1},
        {"server closes at once", "close=1", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(server.route("/stalled", std::string(c.options) + "&stall_for=60", body));
        TimedFetch stalled = fetch_timed(server.url("/stalled"), short_timeouts);
        EXPECT_GE(stalled.body.size(), c.least);
        EXPECT_LE(stalled.body.size(), c.most);
        EXPECT_EQ(stalled.body, body.substr(0, stalled.body.size()));
        EXPECT_LT(stalled.seconds, c.waits * short_timeout_seconds + 5.0);

        HINTERNET session = internet_session.handle;
        ASSERT_TRUE(server.route("/after", "", "still works"));
        EXPECT_EQ(fetch(server.url("/after")), "still works");
        EXPECT_EQ(internet_session.handle, session);
    }
}

TEST_F(Download, AddressesItCannotFetchGiveTheEmptyResult) {
    const std::string refused = "127.0.0.1:" + std::to_string(refused_loopback_port());
    const std::string unusable[] = {
        "127.0.0.1:" + std::to_string(server.port()) + "/no-scheme",
        "ftp://" + refused + "/file.txt",
        "http://" + refused + "/refused",
        "file://server/share/page.html",
        "not an address at all",
    };
    for (const std::string& address : unusable) {
        SCOPED_TRACE(address);
        EXPECT_EQ(fetch(address), "");
    }
    EXPECT_EQ(server.log(), "");
}

TEST_F(Download, AddressLongerThanTheFirstCanonicalBufferStillArrives) {
    // Long credentials push the whole address past 2,084 characters while each
    // component still fits its buffer.
    const std::string object = "/" + std::string(1900, 'o');
    ASSERT_TRUE(server.route(object, "", "long"));
    const std::string address = "http://" + std::string(120, 'u') + ":" + std::string(120, 'p') +
                                "@127.0.0.1:" + std::to_string(server.port()) + object;
    ASSERT_GT(address.size(), 2084u);
    EXPECT_EQ(fetch(address), "long");
}

TEST_F(Download, SessionIsOpenedOnceAndKept) {
    ASSERT_TRUE(server.route("/again", "", "same"));
    EXPECT_EQ(fetch(server.url("/again")), "same");
    HINTERNET session = internet_session.handle;
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(fetch(server.url("/again")), "same");
    EXPECT_EQ(internet_session.handle, session);
}

}  // namespace
