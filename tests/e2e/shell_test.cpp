// The two buttons hand their pages to the Windows shell: exactly one request
// per click, with the exact arguments, seen from inside the program.
#include <gtest/gtest.h>

#include "fixture.h"

namespace {

using namespace kt;

const std::string kHome = KESTRUNE_SITE_HOST;
const std::string kTutorial = "http://" + kHome + "/course.html";

std::string Request(HWND owner, const std::string& address) {
    return "owner=" + std::to_string(reinterpret_cast<ULONG_PTR>(owner)) + " verb=open file=" + address +
           " params=(null) dir=(null) show=1";
}

using ShellTest = RunningProgram;

TEST_F(ShellTest, ClickAndSpaceOpenTheHomeAndTutorialPages) {
    Click(CentreOf(button1_));
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(ShellRequests(), std::vector<std::string>{Request(nullptr, kHome)});

    Click(CentreOf(button2_));
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(ShellRequests(), (std::vector<std::string>{Request(nullptr, kHome), Request(nullptr, kTutorial)}));

    // Space on the focused button, released: one more request each.
    for (HWND button : {button1_, button2_}) {
        while (Focus() != button) {
            Tap(VK_TAB);
            ASSERT_TRUE(Fence(probe_));
        }
        Tap(VK_SPACE);
        ASSERT_TRUE(Fence(probe_));
    }
    EXPECT_EQ(ShellRequests(), (std::vector<std::string>{Request(nullptr, kHome), Request(nullptr, kTutorial),
                                                         Request(nullptr, kHome), Request(nullptr, kTutorial)}));
    // Nothing in the window changed.
    EXPECT_EQ(TextOf(button1_), "立即观看");
    EXPECT_EQ(TextOf(edit_), "");
    EXPECT_EQ(Focus(), button2_);
}

TEST_F(ShellTest, ARequestIsMadeOnlyWhenTheButtonIsReleased) {
    const POINT at = CentreOf(button1_);
    MouseMove(at);
    MouseButton(at, false, true);
    ASSERT_TRUE(Fence(probe_));
    EXPECT_TRUE(ShellRequests().empty());
    MouseButton(at, false, false);
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(ShellRequests().size(), 1u);

    // Pressed, then released away from the button: no click.
    MouseButton(at, false, true);
    MouseMove({at.x, at.y + 100});
    MouseButton({at.x, at.y + 100}, false, false);
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(ShellRequests().size(), 1u);
}

TEST_F(ShellTest, OtherInputMakesNoRequest) {
    Click(CentreOf(button1_), true);  // right clicks
    Click(CentreOf(button2_), true);
    const RECT label = WindowRectOf(label_);
    Click({label.left + 20, (label.top + label.bottom) / 2});
    Click(CentreOf(edit_));
    TypeUnicode(L"www.example.com 你好");
    for (int i = 0; i < 3; ++i) {  // Enter on the edit box and on each button
        Tap(VK_RETURN);
        Tap(VK_TAB);
    }
    ASSERT_TRUE(Fence(probe_));
    EXPECT_TRUE(ShellRequests().empty());

    // Whatever was typed, the address stays the same.
    Click(CentreOf(button1_));
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(ShellRequests(), std::vector<std::string>{Request(nullptr, kHome)});
}

TEST_F(ShellTest, TwoQuickClicksMakeTwoRequests) {
    DoubleClick(CentreOf(button2_));
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(ShellRequests(), (std::vector<std::string>{Request(nullptr, kTutorial), Request(nullptr, kTutorial)}));
}

TEST_F(ShellTest, AWindowTitledMicrosoftInternetExplorerIsTheOwner) {
    const HWND ie = CreateWindowExA(0, "STATIC", "Microsoft Internet Explorer", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                    nullptr, nullptr, nullptr);
    ASSERT_TRUE(ie);
    Click(CentreOf(button1_));
    ASSERT_TRUE(Fence(probe_));
    DestroyWindow(ie);
    Click(CentreOf(button2_));  // searched anew: gone again
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(ShellRequests(), (std::vector<std::string>{Request(ie, kHome), Request(nullptr, kTutorial)}));
}

// No recording here: the real ShellExecuteA, through Wine's shell and
// winebrowser, reaches the stub browser of the test bed.
TEST(ShellToBrowser, TheAddressesReachTheDefaultBrowser) {
    char unixLog[MAX_PATH];
    ASSERT_TRUE(GetEnvironmentVariableA("KESTRUNE_BROWSER_LOG", unixLog, MAX_PATH));
    const std::string log = std::string("Z:") + unixLog;
    DeleteFileA(log.c_str());
    Probe probe;
    Program program({.probe = &probe});
    const HWND window = program.WaitForWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }));
    const auto children = Children(window);
    Click(CentreOf(children[1]));  // 按钮1
    EXPECT_TRUE(WaitFor([&] { return ReadLines(log).size() == 1; }, 15000));
    Click(CentreOf(children[0]));  // 按钮2
    EXPECT_TRUE(WaitFor([&] { return ReadLines(log).size() == 2; }, 15000));
    // Wine's shell turns the bare "www." host into a web address.
    EXPECT_EQ(ReadLines(log), (std::vector<std::string>{"http://" + kHome + "/", kTutorial}));
    Tap(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace
