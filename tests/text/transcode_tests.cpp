// The page conversion: whole or nothing, whatever the bytes and the names.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <utility>

#include "text/transcode.h"

namespace {

// Plain literals are GBK in this program; u8 literals keep their UTF-8 bytes.
std::string repeated(const std::string& piece, int times) {
    std::string whole;
    for (int i = 0; i < times; ++i) whole += piece;
    return whole;
}

std::string string_of(const ByteSet& data) {
    return std::string(reinterpret_cast<const char*>(data.data()), data.size());
}

// Mostly Chinese with some markup: UTF-8 is about half as long again as GBK.
const std::string gbk_page = repeated("<li>第12集 连续剧《山河故人》的剧情简介。</li>\r\n", 300);
const std::string utf8_page = repeated(u8"<li>第12集 连续剧《山河故人》的剧情简介。</li>\r\n", 300);

}  // namespace

TEST(Transcode, Table) {
    struct Case {
        const char* name;
        std::string input;
        const char* from;
        const char* to;
        std::string output;
        bool succeeded;
    } cases[] = {
        {"第1集 into GBK", "\xE7\xAC\xAC\x31\xE9\x9B\x86", "UTF-8", "GBK", "\xB5\xDA\x31\xBC\xAF", true},
        {"empty data", "", "UTF-8", "GBK", "", true},
        {"lower-case source name", "\xE7\xAC\xAC\x31\xE9\x9B\x86", "utf-8", "GBK", "\xB5\xDA\x31\xBC\xAF",
         true},
        {"zero bytes pass through", std::string(u8"第\0集", 7), "UTF-8", "GBK", std::string("第\0集", 5),
         true},
        {"output as long as the input, ASCII", "<html>abc</html>", "UTF-8", "GBK", "<html>abc</html>", true},
        {"lone FF in the middle",
         u8"第1集"
         "\xFF"
         u8"第2集",
         "UTF-8", "GBK", "", false},
        {"three-byte sequence cut at the end",
         u8"第1集"
         "\xE7\xAC",
         "UTF-8", "GBK", "", false},
        {"U+1F600, which GBK lacks", u8"第1集 \xF0\x9F\x98\x80 第2集", "UTF-8", "GBK", "", false},
        {"unknown source name", "abc", "NO-SUCH-CODE", "GBK", "", false},
        {"unknown target name", "abc", "UTF-8", "NO-SUCH-CODE", "", false},
        {"unknown name, empty data", "", "NO-SUCH-CODE", "GBK", "", false},
#ifdef _LIBICONV_VERSION  // glibc (native builds) drops what it cannot use from a name
        {"non-ASCII name", "abc", "UTF-8", "国标", "", false},
#endif
        {"GBK page into UTF-8, one enlargement", gbk_page, "GBK", "UTF-8", utf8_page, true},
        // Each é doubles; the produced bytes must survive three enlargements.
        {"Latin-1 into UTF-8, several enlargements", std::string(3000, '\xE9'), "ISO-8859-1", "UTF-8",
         repeated("\xC3\xA9", 3000), true},
        {"cut off after an enlargement", gbk_page + "\x81", "GBK", "UTF-8", "", false},
        {"invalid after an enlargement", gbk_page + "\x81\x20" + gbk_page, "GBK", "UTF-8", "", false},
    };
    for (const Case& c : cases) {
        bool succeeded = !c.succeeded;
        ByteSet output =
            transcode(ByteSet(c.input.data(), std::uint32_t(c.input.size())), c.from, c.to, &succeeded);
        EXPECT_EQ(string_of(output), c.output) << c.name;
        EXPECT_EQ(succeeded, c.succeeded) << c.name;
    }
}

// A page is tens of megabytes at worst: its Text is made where it was converted.
TEST(Transcode, LeavesRoomForTheTextInItsOwnBlock) {
    ByteSet gbk = transcode(ByteSet(utf8_page.data(), std::uint32_t(utf8_page.size())), "UTF-8", "GBK");
    const void* block = gbk.data();
    const Text page = text_of_bytes(std::move(gbk));
    EXPECT_EQ(std::string(page.c_str(), page.length()), gbk_page);
    EXPECT_EQ(static_cast<const void*>(page.c_str()), block);
}

// Where a failed conversion stopped, so that the command-line collector can
// say at which byte a page is broken.
TEST(Transcode, FailureOffset) {
    const struct {
        const char* name;
        std::string input;
        const char* from;
        const char* to;
        std::uint32_t failed_at;
    } cases[] = {
        {"lone FF after 第1集",
         u8"第1集"
         "\xFF"
         u8"第2集",
         "UTF-8", "GBK", 7},
        {"cut off at the end",
         u8"第1集"
         "\xE7\xAC",
         "UTF-8", "GBK", 7},
        {"the first byte of a character GBK lacks", u8"第1集 \xF0\x9F\x98\x80", "UTF-8", "GBK", 8},
        {"invalid after an enlargement", gbk_page + "\x81\x20" + gbk_page, "GBK", "UTF-8",
         std::uint32_t(gbk_page.size())},
    };
    for (const auto& c : cases) {
        std::uint32_t failed_at = 0xFFFFFFFF;
        transcode(ByteSet(c.input.data(), std::uint32_t(c.input.size())), c.from, c.to, nullptr, &failed_at);
        EXPECT_EQ(failed_at, c.failed_at) << c.name;
    }
}

TEST(Transcode, WithoutSucceededAsTheCollectionCallsIt) {
    const ByteSet page(utf8_page.data(), std::uint32_t(utf8_page.size()));
    EXPECT_EQ(string_of(transcode(page, "UTF-8", "GBK")), gbk_page);
    const std::string broken = utf8_page + "\xFF";
    EXPECT_TRUE(transcode(ByteSet(broken.data(), std::uint32_t(broken.size())), "UTF-8", "GBK").empty());
}
