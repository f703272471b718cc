// Where the run directory ends: at the last real backslash of the executable's
// path, never at the second byte of a GBK character.
#include <gtest/gtest.h>

#include <string>

#include "skin/run_directory.h"

namespace {

struct PathCase {
    const char* path;
    const char* directory;
};

class DirectoryOfPath : public testing::TestWithParam<PathCase> {};

TEST_P(DirectoryOfPath, EndsAtTheLastRealSeparator) {
    EXPECT_EQ(std::string(directory_of_path(GetParam().path).c_str()), GetParam().directory);
}

// 0x81 0x5C is one GBK character whose second byte is the backslash's code.
INSTANTIATE_TEST_SUITE_P(Paths, DirectoryOfPath,
                         testing::Values(PathCase{"C:\\pellom.exe", "C:"},
                                         PathCase{"C:\\tools\\pellom.exe", "C:\\tools"},
                                         PathCase{"C:\\a\x81\x5C\\pellom.exe", "C:\\a\x81\x5C"},
                                         PathCase{"C:\\tools\\\x81\x5Cpellom.exe", "C:\\tools"},
                                         PathCase{"C:\\\x81\x5C.exe", "C:"}, PathCase{"pellom.exe", ""}));

}  // namespace
