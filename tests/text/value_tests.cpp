// The value operations that the commands build their texts with.
#include <gtest/gtest.h>

#include "text/text.h"

TEST(TextOfBytes, KeepsTheBytesBeforeTheFirstZero) {
    const unsigned char bytes[] = {0x41, 0x00, 0x42};
    EXPECT_STREQ(text_of_bytes(ByteSet(bytes, 3)).c_str(), "A");
    EXPECT_STREQ(text_of_bytes(ByteSet()).c_str(), "");
}
