// The value operations that the commands build their texts with.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "text/text.h"

namespace {

ByteSet bytes_of(const std::string& bytes) { return ByteSet(bytes.data(), std::uint32_t(bytes.size())); }

std::string string_of(const Text& text) { return std::string(text.c_str(), text.length()); }

// With the one spare byte that transcode leaves for the terminating zero.
ByteSet with_spare_byte(const std::string& bytes) {
    ByteSet data;
    EXPECT_TRUE(data.try_reserve(std::uint32_t(bytes.size()) + 1));
    EXPECT_TRUE(data.try_append(bytes.data(), std::uint32_t(bytes.size())));
    return data;
}

}  // namespace

TEST(TextOfBytes, KeepsTheBytesBeforeTheFirstZero) {
    const unsigned char bytes[] = {0x41, 0x00, 0x42};
    EXPECT_STREQ(text_of_bytes(ByteSet(bytes, 3)).c_str(), "A");
    EXPECT_STREQ(text_of_bytes(ByteSet()).c_str(), "");
}

TEST(TextOfBytes, Table) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"zero inside", std::string("A\0B", 3), "A"},
        {"empty", "", ""},
        {"zero first", std::string("\0A", 2), ""},
        {"no zero, GBK kept", "第1集", "第1集"},
        {"invalid GBK taken as it is", "\xFF\x80\x81", "\xFF\x80\x81"},
        {"only zeros", std::string(5, '\0'), ""},
    };
    for (const Case& c : cases) {
        const ByteSet copied = bytes_of(c.bytes);
        Text text = text_of_bytes(copied);
        EXPECT_EQ(string_of(text), c.text) << c.name;
        EXPECT_EQ(text.c_str()[text.length()], '\0') << c.name;

        ByteSet taken = with_spare_byte(c.bytes);
        const void* block = taken.data();
        text = text_of_bytes(std::move(taken));
        EXPECT_EQ(string_of(text), c.text) << c.name << ", taken over";
        EXPECT_EQ(text.c_str()[text.length()], '\0') << c.name << ", taken over";
        if (!c.text.empty()) {
            EXPECT_EQ(static_cast<const void*>(text.c_str()), block) << c.name << ", not copied";
        }
    }
}

TEST(TextOfInt, Table) {
    struct Case {
        std::int32_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {12, "12"},
        {-7, "-7"},
        {2147483647, "2147483647"},
        {INT32_MIN, "-2147483648"},
        {1000000, "1000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(string_of(text_of_int(c.value)), c.text) << c.value;
}

TEST(JoinText, Table) {
    const Text title("连续剧");
    const Text empty;
    const std::string long_piece(100, 'x');
    struct Case {
        const char* name;
        std::function<Text()> join;
        std::string joined;
    } cases[] = {
        {"empty, 第 and absent",
         [] {
             return join_text({"", Text("第"), nullptr});
         },
         "第"},
        {"one line of the list",
         [] {
             return join_text({Text("第1集$A\r\n"), "第", text_of_int(2), "集$", Text("XMTA2"), "\r\n"});
         },
         "第1集$A\r\n第2集$XMTA2\r\n"},
        {"every piece empty",
         [&] {
             return join_text({empty, "", nullptr});
         },
         ""},
        {"one piece", [&] { return join_text({title}); }, "连续剧"},
        {"a path of two",
         [] {
             return join_text({"C:\\run\\", "SkinH_EL.dll"});
         },
         "C:\\run\\SkinH_EL.dll"},
        {"pieces past the first room",
         [&] {
             return join_text({long_piece.c_str(), title, long_piece.c_str()});
         },
         long_piece + "连续剧" + long_piece},
    };
    for (const Case& c : cases) {
        Text joined = c.join();
        EXPECT_EQ(string_of(joined), c.joined) << c.name;
        EXPECT_EQ(std::strlen(joined.c_str()), joined.length()) << c.name;
    }
    EXPECT_STREQ(title.c_str(), "连续剧") << "a piece is left as it was";
}

TEST(ByteSetSize, Table) {
    ByteSet grown;
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(grown.try_append("\0\x01\x02", 3));
    grown.shrink_to_fit();
    struct Case {
        const char* name;
        ByteSet data;
        std::uint32_t size;
    } cases[] = {
        {"empty", ByteSet(), 0},
        {"zero bytes count", bytes_of(std::string("\0\0A", 3)), 3},
        {"absent source", ByteSet(nullptr, 5), 0},
        {"grown by appends", grown, 3000},
    };
    for (const Case& c : cases) EXPECT_EQ(byte_set_size(c.data), c.size) << c.name;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(grown.data()) + 2997, 3),
              std::string("\0\x01\x02", 3));
}

TEST(ArrayElementCount, Table) {
    struct Case {
        std::uint32_t pushed;
    } cases[] = {{0}, {1}, {12}, {40}};
    for (const Case& c : cases) {
        Array<Text> array;
        for (std::uint32_t i = 0; i < c.pushed; ++i) array.push_back(text_of_int(std::int32_t(i)));
        EXPECT_EQ(array_element_count(array), c.pushed);
        EXPECT_EQ(array.dimension_count(), c.pushed ? 1u : 0u) << "no dimension when empty";
        // Growing moves the elements; each must still hold its own text.
        if (c.pushed) {
            EXPECT_STREQ(array[0].c_str(), "0");
            EXPECT_EQ(string_of(array[c.pushed - 1]), std::to_string(c.pushed - 1));
        }
    }
}

TEST(TextValue, CopiesOwnTheirBytesAndMovedFromIsEmpty) {
    Text original("第1集");
    Text copy = original;
    original.append("$abc", 4);
    EXPECT_STREQ(copy.c_str(), "第1集");
    Text moved = std::move(original);
    EXPECT_STREQ(moved.c_str(), "第1集$abc");
    EXPECT_STREQ(original.c_str(), "");  // NOLINT(bugprone-use-after-move): the empty Text by design
    EXPECT_EQ(original.length(), 0u);
}

TEST(Values, AppendedToThemselvesAcrossGrowth) {
    Text text("ab");
    ByteSet bytes("a\0", 2);
    for (int i = 0; i < 8; ++i) {
        text.append(text.c_str(), text.length());
        ASSERT_TRUE(bytes.try_append(bytes.data(), bytes.size()));
    }
    std::string expected_text, expected_bytes;
    for (int i = 0; i < 256; ++i) {
        expected_text += "ab";
        expected_bytes += std::string("a\0", 2);
    }
    EXPECT_EQ(string_of(text), expected_text);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), expected_bytes);
}
