#include "app/exe_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// GBK lead bytes, fixed here so the cases do not depend on the machine's code page.
bool IsGbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool NoLeadBytes(unsigned char) { return false; }

struct FolderCase {
    const char* name;
    std::string path;
    const char* folder;  // nullptr: nothing to use
};

const FolderCase kCases[] = {
    {"plain path", "C:\\Program Files\\Kestrune\\kestrune.exe", "C:\\Program Files\\Kestrune"},
    // U+4E57 is 81 5C in GBK: its trail byte is not a separator.
    {"trail byte 0x5C in the folder name", "C:\\a\\\x81\x5C\\kestrune.exe", "C:\\a\\\x81\x5C"},
    {"trail byte 0x5C in the file name", "C:\\x\\\x81\x5C.exe", "C:\\x"},
    {"trail byte 0x5C right before the last separator", "D:\\\x81\x5C\x81\x5C\\k.exe", "D:\\\x81\x5C\x81\x5C"},
    {"drive root keeps its backslash", "C:\\kestrune.exe", "C:\\"},
    {"network share", "\\\\server\\share\\kestrune.exe", "\\\\server\\share"},
    {"no separator at all", "kestrune.exe", nullptr},
    {"only a trail byte that looks like one", "\x81\x5C" "kestrune.exe", nullptr},
};

TEST(ExeFolder, CutsAtTheRealLastBackslash) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        char buffer[260] = {};
        c.path.copy(buffer, sizeof buffer - 1);
        const bool cut = CutToFolder(buffer, c.path.size(), sizeof buffer, IsGbkLead);
        ASSERT_EQ(cut, c.folder != nullptr);
        if (c.folder) {
            EXPECT_STREQ(buffer, c.folder);
        }
    }
}

TEST(ExeFolder, ReadsTheTrailByteAsASeparatorOnlyOutsideADoubleByteCode) {
    const std::string path = "C:\\a\\\x81\x5C" "b.exe";
    EXPECT_EQ(LastBackslash(path.data(), path.size(), IsGbkLead), 4);
    EXPECT_EQ(LastBackslash(path.data(), path.size(), NoLeadBytes), 6);
}

TEST(ExeFolder, LeavesACutShortPathAlone) {
    // GetModuleFileNameA returns the buffer size when the path did not fit,
    // and older systems leave the buffer unterminated.
    const std::string cut = "C:\\very\\long\\pat";  // 16 bytes, no terminator
    char buffer[16];
    cut.copy(buffer, sizeof buffer);
    EXPECT_FALSE(CutToFolder(buffer, sizeof buffer, sizeof buffer, IsGbkLead));
    EXPECT_EQ(std::string(buffer, sizeof buffer), cut);
    EXPECT_FALSE(CutToFolder(buffer, 0, sizeof buffer, IsGbkLead));
}

TEST(ExeFolder, NeverReadsPastTheCopiedLength) {
    // A lead byte at the very end has no trail byte to step over.
    char buffer[8] = {'C', ':', '\\', 'a', '\x81', '\\', 'x', 'y'};
    EXPECT_EQ(LastBackslash(buffer, 5, IsGbkLead), 2);
}

}  // namespace
