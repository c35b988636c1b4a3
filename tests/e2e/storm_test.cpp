// Storms of input against the real program: nothing lost, merged, leaked or
// broken. Every loop is bounded; every step waits for proof, not for time.
#include <gtest/gtest.h>

#include <random>

#include "fixture.h"

namespace {

using namespace kt;

class StormTest : public RunningProgram {
protected:
    struct Snapshot {
        LONG liveGdiObjects, icons, classes, windowsCreated, dcsHeld;
        size_t children, topLevel;
        ULONG_PTR privateBytes;
    };

    Snapshot Take() {
        const probe::Shared& s = probe_.shared();
        probe::Answer answer = {};
        EXPECT_TRUE(probe_.Query(window_, answer));
        return {s.brushesCreated - s.gdiObjectsDeleted,
                s.iconsLoaded - s.iconsDestroyed,
                s.classesRegistered,
                s.windowsCreated,
                s.dcsTaken - s.dcsReleased,
                Children(window_).size(),
                TopLevelWindows(program_->pid(), false).size(),
                answer.privateBytes};
    }

    void ExpectFlat(const Snapshot& before, const Snapshot& after) {
        EXPECT_EQ(after.liveGdiObjects, before.liveGdiObjects);
        EXPECT_EQ(after.icons, before.icons);
        EXPECT_EQ(after.classes, before.classes);
        EXPECT_EQ(after.windowsCreated, before.windowsCreated);
        EXPECT_EQ(after.dcsHeld, 0);
        EXPECT_EQ(after.children, 4u);
        EXPECT_EQ(after.topLevel, before.topLevel);
        // A leak of even 100 bytes per operation would pass 256 KiB here.
        EXPECT_LT(after.privateBytes, before.privateBytes + 256 * 1024)
            << before.privateBytes << " -> " << after.privateBytes;
    }

    void ActivateOtherAndBack(HWND other) {
        SetForegroundWindow(other);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == other; }));
        SetForegroundWindow(window_);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }));
    }
};

TEST_F(StormTest, TwoThousandClicksMakeTwoThousandRequestsInOrder) {
    const std::string home = "file=" KESTRUNE_SITE_HOST " ";
    const std::string tutorial = "file=http://" KESTRUNE_SITE_HOST "/course.html ";
    std::mt19937 random(20261211);
    std::vector<bool> tutorialClicked;
    for (int i = 0; i < 2000; ++i) {
        const bool second = random() % 2 != 0;
        tutorialClicked.push_back(second);
        Click(CentreOf(second ? button2_ : button1_));
        if (i % 50 == 49) {
            ASSERT_TRUE(Fence(probe_, 20000)) << "after click " << i;
        }
    }
    ASSERT_TRUE(Fence(probe_, 20000));
    const auto requests = ShellRequests();
    ASSERT_EQ(requests.size(), 2000u);
    EXPECT_EQ(probe_.shared().shellCalls, 2000);
    int misplaced = 0;
    for (size_t i = 0; i < requests.size(); ++i)
        misplaced += requests[i].find(tutorialClicked[i] ? tutorial : home) == std::string::npos;
    EXPECT_EQ(misplaced, 0);
}

TEST_F(StormTest, RepaintsFocusTripsAndActivationsLeaveEverythingFlat) {
    const HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                       nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    // Warm up once, so that first-use caches of the system are not counted.
    for (int i = 0; i < 20; ++i) {
        PaintNow(window_);
        Tap(VK_TAB);
        ActivateOtherAndBack(other);
    }
    ASSERT_TRUE(Fence(probe_));
    const Snapshot before = Take();
    const LONG paints = probe_.shared().paints;

    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(Repaint()) << "repaint " << i;
    EXPECT_GE(probe_.shared().paints - paints, 2000);

    const HWND start = Focus();
    for (int trip = 0; trip < 1000; ++trip) {
        for (int step = 0; step < 3; ++step) Tap(VK_TAB, trip % 2 ? kShift : kNone);
        if (trip % 100 == 99) {
            ASSERT_TRUE(Fence(probe_));
        }
    }
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(Focus(), start);  // three steps either way are one trip round the ring

    for (int i = 0; i < 1000; ++i) ActivateOtherAndBack(other);
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(Focus(), start);
    DestroyWindow(other);

    const Snapshot after = Take();
    std::printf("private bytes %lu -> %lu\n", static_cast<unsigned long>(before.privateBytes),
                static_cast<unsigned long>(after.privateBytes));
    ExpectFlat(before, after);
    EXPECT_TRUE(ShellRequests().empty());
}

TEST_F(StormTest, TwentySecondsOfRandomInputBreakNothing) {
    std::mt19937 random(1211);
    const RECT client = ClientRectOnScreen(window_);
    auto anywhere = [&] {
        return POINT{client.left + static_cast<LONG>(random() % (client.right - client.left)),
                     client.top + static_cast<LONG>(random() % (client.bottom - client.top))};
    };
    // Keys that neither close the window nor open its system menu.
    const WORD keys[] = {'A', 'Z', 'Q', '1', '9', VK_SPACE, VK_RETURN, VK_TAB, VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT,
                         VK_UP, VK_DOWN, VK_HOME, VK_END, VK_INSERT, VK_F1, VK_F2, VK_F5, VK_OEM_PERIOD, VK_OEM_2};
    const wchar_t* texts[] = {L"kestrune", L"网址", L"需要观看", L"Ａ１", L"http://", L"\u4e57\u4e57"};
    const DWORD start = GetTickCount();
    int actions = 0;
    while (GetTickCount() - start < 20000) {
        switch (random() % 6) {
        case 0: Tap(keys[random() % std::size(keys)], random() % 3 == 0 ? kShift : kNone); break;
        case 1: Tap("ACVXZ"[random() % 5], kCtrl); break;
        case 2: TypeUnicode(texts[random() % std::size(texts)]); break;
        case 3: Click(anywhere(), random() % 4 == 0); break;
        case 4: DoubleClick(anywhere()); break;
        case 5: {
            const POINT from = anywhere(), to = anywhere();
            MouseMove(from);
            MouseButton(from, false, true);
            MouseMove({(from.x + to.x) / 2, (from.y + to.y) / 2});
            MouseMove(to);
            MouseButton(to, false, false);
            break;
        }
        }
        ++actions;
        if (actions % 25 == 0) {
            // A right click may have opened the edit box's context menu: a
            // click on the window's own background closes it.
            Click({client.left + 3, client.bottom - 3});
            ASSERT_TRUE(Fence(probe_, 10000)) << "no answer after " << actions << " actions";
            ASSERT_TRUE(program_->Running());
        }
    }
    Click({client.left + 3, client.bottom - 3});
    ASSERT_TRUE(Fence(probe_, 10000));
    EXPECT_TRUE(program_->Running());
    DWORD_PTR ignored;
    EXPECT_TRUE(SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored));
    EXPECT_EQ(Children(window_).size(), 4u);
    const HWND focus = Focus();
    EXPECT_TRUE(focus == edit_ || focus == button1_ || focus == button2_);
    EXPECT_EQ(TextOf(window_), "Kestrune");
    EXPECT_EQ(TextOf(button1_), "立即观看");
    const RECT r = WindowRectOf(window_);
    EXPECT_EQ(r.right - r.left, 673);
    EXPECT_EQ(r.bottom - r.top, 76);
    for (const auto& request : ShellRequests()) EXPECT_NE(request.find("verb=open file="), std::string::npos);
    std::printf("%d random actions, %zu shell requests\n", actions, ShellRequests().size());

    Tap(VK_ESCAPE);
    EXPECT_EQ(program_->WaitForExit(), 0u);
}

}  // namespace
