// How a test program ends when the heap runs out: a message naming the bytes and
// an abnormal end, at once, where the program would show its box and wait.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "text/text.h"

TEST(HeapExhaustedStub, PrintsTheBytesAskedForAndAborts) {
    // No room for the zero within 32 bits: refused before any heap is asked, so
    // the end is the same on every platform, however much memory it has.
    EXPECT_DEATH(
        {
            Text text;
            text.reserve(0xFFFFFFFFu);
        },
        "out of memory: " + std::to_string(SIZE_MAX) + " bytes");
}
