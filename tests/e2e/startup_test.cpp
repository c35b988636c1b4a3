// Start-up of the real program: where it places itself, the folder it runs
// in, and the one failure it reports.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

namespace {

using namespace kt;

// Run in a 640 x 480 desktop: the window is wider than the screen.
TEST(SmallScreen, LeftEdgeTruncatesTowardZero) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    Program program;
    const HWND window = program.WaitForWindow();
    ASSERT_TRUE(window);
    const RECT r = WindowRectOf(window);
    EXPECT_EQ(r.left, -16);  // (640 - 673) / 2 = -16.5
    EXPECT_EQ(r.top, 202);
    EXPECT_EQ(r.bottom - r.top, 76);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

std::string CurrentDirectoryOf(Probe& probe, Program& program) {
    const HWND window = program.WaitForWindow();
    if (!window) return "(no window)";
    probe::Answer answer;
    if (!probe.Query(window, answer)) return "(no answer)";
    return answer.currentDirectory;
}

std::string Copy(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string exe = folder + (folder.back() == '\\' ? "" : "\\") + "kestrune.exe";
    return CopyFileA(KestrunePath().c_str(), exe.c_str(), FALSE) ? exe : std::string();
}

struct FolderCase {
    const char* name;
    std::string folder;
    std::string expected;
};

TEST(Start, RunsInTheExecutablesFolderWhereverItWasStartedFrom) {
    const std::string temp = TempFolder();
    const FolderCase cases[] = {
        {"plain folder", temp + "\\plain", temp + "\\plain"},
        // 乗 (U+4E57) is 81 5C in GBK: its trail byte looks like a backslash.
        {"GBK trail byte 0x5C", temp + "\\\x81\x5C\\\x81\x5C" "a", temp + "\\\x81\x5C\\\x81\x5C" "a"},
        {"drive root", "C:\\", "C:\\"},
    };
    CreateDirectoryA((temp + "\\\x81\x5C").c_str(), nullptr);
    const std::string elsewhere = TempFolder();
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string exe = Copy(c.folder);
        ASSERT_FALSE(exe.empty()) << "cannot copy the program to " << c.folder;
        Probe probe;
        Program program({.exe = exe, .workingFolder = elsewhere, .probe = &probe});
        ASSERT_TRUE(program.started());
        EXPECT_EQ(CurrentDirectoryOf(probe, program), c.expected);
        Tap(VK_ESCAPE);
        EXPECT_EQ(program.WaitForExit(), 0u);
        DeleteFileA(exe.c_str());
    }
}

TEST(Start, DllsBesideTheProgramAreNeverLoadedByName) {
    const std::string folder = TempFolder();
    const std::string exe = Copy(folder);
    ASSERT_FALSE(exe.empty());
    ASSERT_TRUE(CopyFileA((DriverFolder() + "\\" + probe::kPlantedDll).c_str(),
                          (folder + "\\" + probe::kPlantedDll).c_str(), FALSE));
    Probe probe;
    Program program({.exe = exe, .workingFolder = folder, .probe = &probe});
    const HWND window = program.WaitForWindow();
    ASSERT_TRUE(window);
    probe::Answer answer;
    ASSERT_TRUE(probe.Query(window, answer));
    EXPECT_EQ(answer.currentDirectory, folder);
    EXPECT_EQ(answer.plantedDllLoaded, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

// The window, or one of its controls, cannot be created.
class FatalTest : public testing::TestWithParam<const char*> {};

TEST_P(FatalTest, ShowsOneErrorBoxThenExitsMinusOne) {
    Probe probe;
    Program program({.env = {{probe::kRefuseClassEnv, GetParam()}}, .probe = &probe});
    ASSERT_TRUE(program.started());

    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const auto windows = TopLevelWindows(program.pid());
        box = windows.size() == 1 && ClassOf(windows[0]) == "#32770" ? windows[0] : nullptr;
        return box != nullptr;
    }));
    EXPECT_EQ(probe.shared().refusedCreations, 1);
    EXPECT_EQ(TextOf(box), "错误");
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    int buttons = 0, icons = 0;
    for (HWND child : Children(box)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (!IsWindowVisible(child)) continue;
        if (ClassOf(child) == "Button") ++buttons;
        if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON) ++icons;
    }
    EXPECT_EQ(buttons, 1);  // OK alone
    EXPECT_EQ(icons, 1);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);

    // Still only the box while it waits for the user.
    EXPECT_EQ(TopLevelWindows(program.pid()).size(), 1u);
    EXPECT_TRUE(program.Running());
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; }));
    Tap(VK_RETURN);
    EXPECT_EQ(program.WaitForExit(), 0xFFFFFFFFu);
    EXPECT_EQ(probe.shared().mainWindowShown, 0);
    EXPECT_EQ(probe.shared().getMessageCalls, 0);  // the loop never ran
}

INSTANTIATE_TEST_SUITE_P(Start, FatalTest,
                         testing::Values("KestruneMainWindow", "KestruneTransLabel", "Edit", "Button"),
                         [](const testing::TestParamInfo<const char*>& param) { return std::string(param.param); });

TEST(Start, MessageQueueFailureEndsTheProgramInsteadOfSpinning) {
    Probe probe;
    Program program({.env = {{probe::kFailGetMessageEnv, "0"}}, .probe = &probe});
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.WaitForExit(), 0xFFFFFFFFu);
    EXPECT_EQ(probe.shared().getMessageFailures, 1);
}

}  // namespace
