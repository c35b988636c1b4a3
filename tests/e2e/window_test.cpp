// The main window of the real program: place, frame, icons, background and
// the ways it closes.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

using namespace kt;

TEST(Window, SmokeEscCloses) {
    Probe probe;
    Program program({.probe = &probe});
    ASSERT_TRUE(program.started());
    const HWND window = program.WaitForWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitFor([&] { return probe.shared().attached != 0; }));
    const RECT r = WindowRectOf(window);
    EXPECT_EQ(r.left, 623);
    EXPECT_EQ(r.top, 502);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }));
    ASSERT_TRUE(Fence(probe));
    probe::Answer answer;
    ASSERT_TRUE(probe.Query(window, answer));
    printf("cwd=%s big=%ld %ldx%ld\n", answer.currentDirectory, answer.bigIcon.present, answer.bigIcon.width, answer.bigIcon.height);
    Tap(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace
