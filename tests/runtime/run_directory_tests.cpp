// Where the run directory ends: at the last real backslash of the executable's
// path, never at the second byte of a GBK character; and that it becomes the
// current directory.
#include <gtest/gtest.h>

#include <string>

#include "runtime/run_directory.h"

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

const PathCase paths_in_gbk[] = {
    {"C:\\games\\pellom\\pellom.exe", "C:\\games\\pellom"},
    {"C:\\pellom.exe", "C:"},  // drive root: the letter and colon alone
    {"pellom.exe", ""},
    // 0xD5 0x5C is one GBK character whose second byte is the backslash code.
    {"C:\\tools\\\xD5\x5C.exe", "C:\\tools"},
    {"C:\\a\xD5\x5C\\b.exe", "C:\\a\xD5\x5C"},
    {"\\\\server\\share\\p.exe", "\\\\server\\share"},
};

TEST(RunDirectory, CutsAtTheLastRealBackslash) {
    ASSERT_EQ(GetACP(), 936u) << "needs the GBK code page, as the program runs in";
    for (const PathCase& c : paths_in_gbk)
        EXPECT_STREQ(directory_of_path(c.path).c_str(), c.directory) << c.path;
}

TEST(RunDirectory, IsTheExecutablesFolderAndBecomesCurrent) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    SetCurrentDirectoryA(temp);
    fix_run_directory();

    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string folder(exe, std::string(exe).find_last_of('\\'));
    EXPECT_EQ(run_directory().c_str(), folder);
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(std::string(current), folder);
}

}  // namespace
