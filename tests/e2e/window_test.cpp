// The main window of the real program: place, frame, icons, background and
// the ways it closes.
#include <gtest/gtest.h>

#include "fixture.h"

namespace {

using namespace kt;

class WindowTest : public RunningProgram {
protected:
    HWND OpenSystemMenu() {
        Tap(VK_SPACE, kAlt);
        HWND menu = nullptr;
        WaitFor([&] {
            menu = FindWindowA("#32768", nullptr);
            return menu && IsWindowVisible(menu);
        });
        return menu;
    }
};

TEST_F(WindowTest, IsCentredFixedSizeAndStyled) {
    const RECT r = WindowRectOf(window_);
    EXPECT_EQ(r.left, 623);
    EXPECT_EQ(r.top, 502);
    EXPECT_EQ(r.right - r.left, 673);
    EXPECT_EQ(r.bottom - r.top, 76);
    EXPECT_EQ(TextOf(window_), "Kestrune");
    EXPECT_EQ(ClassOf(window_), "KestruneMainWindow");

    const DWORD style = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
    const DWORD present[] = {WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX, WS_CLIPCHILDREN, WS_VISIBLE};
    for (DWORD bit : present) EXPECT_EQ(style & bit, bit) << std::hex << bit;
    const DWORD absent[] = {WS_THICKFRAME, WS_MAXIMIZEBOX, WS_CHILD, WS_POPUP, WS_DISABLED};
    for (DWORD bit : absent) EXPECT_EQ(style & bit, 0u) << std::hex << bit;
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE));
    const DWORD exAbsent[] = {WS_EX_TOPMOST, WS_EX_TOOLWINDOW, WS_EX_LAYERED, WS_EX_APPWINDOW, WS_EX_TRANSPARENT};
    for (DWORD bit : exAbsent) EXPECT_EQ(exStyle & bit, 0u) << std::hex << bit;
    EXPECT_EQ(GetClassLongA(window_, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr);  // a taskbar button of its own
    EXPECT_EQ(GetParent(window_), nullptr);
    EXPECT_FALSE(IsZoomed(window_));
}

TEST_F(WindowTest, CarriesTheProgramIconsBigAndSmall) {
    probe::Answer answer;
    ASSERT_TRUE(probe_.Query(window_, answer));
    EXPECT_TRUE(answer.bigIcon.present);
    EXPECT_EQ(answer.bigIcon.width, 32);
    EXPECT_EQ(answer.bigIcon.height, 32);
    EXPECT_TRUE(answer.smallIcon.present);
    EXPECT_EQ(answer.smallIcon.width, 16);
    EXPECT_EQ(answer.smallIcon.height, 16);
}

TEST_F(WindowTest, PaintsEveryFreePixelInTheButtonFaceColour) {
    ASSERT_TRUE(Repaint());
    const RECT client = ClientRectOnScreen(window_);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    std::vector<RECT> controls;
    for (HWND child : Children(window_)) controls.push_back(WindowRectOf(child));
    int checked = 0, wrong = 0;
    auto look = [&] {
        const Capture shot = CaptureScreen(client);
        checked = wrong = 0;
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                const POINT p = {client.left + x, client.top + y};
                bool covered = false;
                for (const RECT& c : controls) covered = covered || PtInRect(&c, p);
                if (covered) continue;
                ++checked;
                if (shot.at(x, y) != face) ++wrong;
            }
        }
        return wrong == 0;
    };
    WaitFor(look, 3000);  // what reaches the screen may lag the paint a little
    EXPECT_GT(checked, 5000);
    EXPECT_EQ(wrong, 0) << "of " << checked << " background pixels";
}

TEST_F(WindowTest, UserCannotMaximiseOrResize) {
    const RECT before = WindowRectOf(window_);

    // Double click on the caption.
    POINT caption;
    ASSERT_TRUE(FindOnCaption(window_, HTCAPTION, caption));
    caption.x = (before.left + before.right) / 2;
    DoubleClick(caption);
    ASSERT_TRUE(Fence(probe_));
    EXPECT_FALSE(IsZoomed(window_));

    // The (greyed) maximise button, where the caption draws it.
    POINT maxButton;
    ASSERT_TRUE(FindOnCaption(window_, HTMAXBUTTON, maxButton));
    Click(maxButton);
    ASSERT_TRUE(Fence(probe_));
    EXPECT_FALSE(IsZoomed(window_));

    // Dragging the right edge and the bottom-right corner.
    const POINT edge = {before.right - 1, (before.top + before.bottom) / 2};
    const POINT corner = {before.right - 1, before.bottom - 1};
    for (POINT from : {edge, corner}) {
        MouseMove(from);
        MouseButton(from, false, true);
        MouseMove({from.x + 60, from.y + 40});
        MouseButton({from.x + 60, from.y + 40}, false, false);
        ASSERT_TRUE(Fence(probe_));
    }
    const RECT after = WindowRectOf(window_);
    EXPECT_EQ(after.right - after.left, 673);
    EXPECT_EQ(after.bottom - after.top, 76);
    EXPECT_FALSE(IsZoomed(window_));

    // The system menu offers Move, Minimize and Close; Size and Maximize are greyed.
    ASSERT_TRUE(OpenSystemMenu());
    probe::Answer answer;
    ASSERT_TRUE(probe_.Query(window_, answer));
    EXPECT_TRUE(answer.sizeItemState & MF_GRAYED);
    EXPECT_TRUE(answer.maximizeItemState & MF_GRAYED);
    EXPECT_FALSE(answer.moveItemState & MF_GRAYED);
    EXPECT_FALSE(answer.minimizeItemState & MF_GRAYED);
    EXPECT_FALSE(answer.closeItemState & MF_GRAYED);
    for (LONG state : {answer.sizeItemState, answer.maximizeItemState, answer.moveItemState,
                       answer.minimizeItemState, answer.closeItemState})
        EXPECT_NE(state, -1);
    Tap(VK_ESCAPE);  // closes the menu, not the window
    EXPECT_TRUE(WaitFor([] {
        const HWND menu = FindWindowA("#32768", nullptr);
        return !menu || !IsWindowVisible(menu);
    }));
    ASSERT_TRUE(Fence(probe_));
    EXPECT_TRUE(program_->Running());
}

enum class CloseBy { Esc, AltF4, CloseButton, SystemMenu, EscWhileTyping };

class ClosingTest : public WindowTest, public testing::WithParamInterface<CloseBy> {};

TEST_P(ClosingTest, EndsTheProcessWithExitCodeZero) {
    switch (GetParam()) {
    case CloseBy::Esc: Tap(VK_ESCAPE); break;
    case CloseBy::AltF4: Tap(VK_F4, kAlt); break;
    case CloseBy::CloseButton: {
        POINT button;
        ASSERT_TRUE(FindOnCaption(window_, HTCLOSE, button));
        Click(button);
        break;
    }
    case CloseBy::SystemMenu: {
        ASSERT_TRUE(OpenSystemMenu());
        Tap('C');  // Close's access key

        break;
    }
    case CloseBy::EscWhileTyping:
        TypeUnicode(L"abc");
        Key('D', true);  // a key still held down
        Tap(VK_ESCAPE);
        Key('D', false);
        break;
    }
    EXPECT_EQ(program_->WaitForExit(), 0u);
}

std::string CloseName(const testing::TestParamInfo<CloseBy>& param) {
    static const char* const names[] = {"Esc", "AltF4", "CloseButton", "SystemMenu", "EscWhileTyping"};
    return names[static_cast<int>(param.param)];
}

INSTANTIATE_TEST_SUITE_P(Window, ClosingTest,
                         testing::Values(CloseBy::Esc, CloseBy::AltF4, CloseBy::CloseButton, CloseBy::SystemMenu,
                                         CloseBy::EscWhileTyping),
                         CloseName);

TEST_F(WindowTest, ShiftEscDoesNotClose) {
    Tap(VK_ESCAPE, kShift);
    ASSERT_TRUE(Fence(probe_));
    EXPECT_GT(probe_.shared().getMessageCalls, 0);  // the program's own loop took the keys
    EXPECT_TRUE(program_->Running());
    EXPECT_TRUE(IsWindowVisible(window_));
}

}  // namespace
