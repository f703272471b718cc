// http_get_body against the loopback fixture server: what goes on the wire and
// what the caller gets back for each way a server can answer or misbehave.
#include <gtest/gtest.h>

#include <string>

#include "net/download_steps.h"
#include "net/http_get_body.h"
#include "tests/fixtures/http_fixture.h"

namespace {

std::string as_string(const ByteSet& body) {
    return std::string(reinterpret_cast<const char*>(body.data()), body.size());
}

std::string fetch(const std::string& address) { return as_string(http_get_body(Text(address.c_str()))); }

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

TEST_F(Download, RedirectIsFollowed) {
    ASSERT_TRUE(server.route("/old", "status=302&header=Location:%20/new"));
    ASSERT_TRUE(server.route("/new", "", "moved here"));
    EXPECT_EQ(fetch(server.url("/old")), "moved here");
    EXPECT_NE(server.log().find("GET /new HTTP/1.0"), std::string::npos);
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
