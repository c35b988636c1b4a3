// The four controls of the real program: what they are, where they stand,
// how the keyboard walks them and how they look.
#include <gtest/gtest.h>

#include "fixture.h"

namespace {

using namespace kt;

using ControlsTest = RunningProgram;

RECT InClient(HWND parent, HWND child) {
    RECT r = WindowRectOf(child);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// What the least-height rule gives a 20-pixel box in this desktop's font.
int ExpectedEditHeight() {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
    SIZE glyph = {};
    GetTextExtentPoint32A(screen, "吴", 2, &glyph);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const int least = glyph.cy + 2 * GetSystemMetrics(SM_CYEDGE);
    return least > 20 ? least : 20;
}

struct ExpectedControl {
    const char* name;
    HWND handle;
    const char* className;
    const char* caption;
    RECT rect;  // left, top, right, bottom in client coordinates
    DWORD style, exStyle;
};

TEST_F(ControlsTest, FourChildrenStackedCreatedAndStyledAsTheFormSays) {
    const int editHeight = ExpectedEditHeight();
    const DWORD child = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE;
    const DWORD button = child | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
    const ExpectedControl expected[] = {
        // Top of the z-order first.
        {"按钮2", button2_, "Button", "使用教学", {584, 5, 664, 37}, button, 0},
        {"按钮1", button1_, "Button", "立即观看", {496, 5, 576, 37}, button, 0},
        {"编辑框1", edit_, "Edit", "", {109, 11, 488, 11 + editHeight},
         child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {"透明标签1", label_, "KestruneTransLabel", "需要观看的网址：", {8, 5, 152, 37}, child,
         WS_EX_TRANSPARENT},
    };
    for (const ExpectedControl& want : expected) {
        SCOPED_TRACE(want.name);
        const HWND control = want.handle;
        EXPECT_EQ(ClassOf(control), want.className);
        EXPECT_EQ(TextOf(control), want.caption);
        const RECT r = InClient(window_, control);
        EXPECT_EQ(r.left, want.rect.left);
        EXPECT_EQ(r.top, want.rect.top);
        EXPECT_EQ(r.right, want.rect.right);
        EXPECT_EQ(r.bottom, want.rect.bottom);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)), want.style);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)), want.exStyle);
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_TRUE(IsWindowEnabled(control));
        EXPECT_EQ(GetParent(control), window_);
    }
    EXPECT_EQ(GetClassLongA(label_, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    // One centre line, 21 pixels below the client top (the edit box keeps its top).
    for (HWND c : {label_, button1_, button2_}) {
        const RECT r = InClient(window_, c);
        EXPECT_EQ((r.top + r.bottom) / 2, 21);
    }
    if (editHeight == 20) {
        const RECT r = InClient(window_, edit_);
        EXPECT_EQ((r.top + r.bottom) / 2, 21);
    }
    // No length limit of the program's own: the platform's largest.
    EXPECT_GE(static_cast<DWORD>(SendMessageA(edit_, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
}

TEST_F(ControlsTest, TabWalksEditButton1Button2AndShiftTabWalksBack) {
    EXPECT_EQ(Focus(), edit_);
    DWORD start = 1, end = 1;
    SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);

    struct Step {
        unsigned mods;
        HWND expect;
    };
    const Step steps[] = {
        {kNone, button1_}, {kNone, button2_}, {kNone, edit_},
        {kShift, button2_}, {kShift, button1_}, {kShift, edit_},
        {kShift, button2_}, {kNone, edit_},
    };
    for (const Step& step : steps) {
        Tap(VK_TAB, step.mods);
        ASSERT_TRUE(Fence(probe_));
        EXPECT_EQ(Focus(), step.expect);
        EXPECT_NE(Focus(), label_);
    }
}

TEST_F(ControlsTest, EnterAndALabelClickChangeNothing) {
    for (HWND focus : {edit_, button1_, button2_}) {
        while (Focus() != focus) {
            Tap(VK_TAB);
            ASSERT_TRUE(Fence(probe_));
        }
        Tap(VK_RETURN);
        ASSERT_TRUE(Fence(probe_));
        EXPECT_EQ(Focus(), focus);
    }
    const RECT label = WindowRectOf(label_);
    Click({label.left + 20, (label.top + label.bottom) / 2});
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(Focus(), button2_);
    EXPECT_TRUE(ShellRequests().empty());
    EXPECT_TRUE(program_->Running());
}

// Another top-level window of the driver's, for the user to switch to.
class OtherWindow {
public:
    OtherWindow() {
        window_ = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    }
    ~OtherWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

TEST_F(ControlsTest, FocusComesBackAfterSwitchingAwayAndAfterMinimising) {
    Tap(VK_TAB);
    ASSERT_TRUE(Fence(probe_));
    ASSERT_EQ(Focus(), button1_);

    {
        OtherWindow other;
        Click({200, 110});  // its caption
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == other.get(); }));
        const RECT r = WindowRectOf(window_);
        Click({r.left + 200, r.top + 8});  // back to the program's caption
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }));
        ASSERT_TRUE(Fence(probe_));
        EXPECT_EQ(Focus(), button1_);
    }

    Tap(VK_TAB);
    ASSERT_TRUE(Fence(probe_));
    ASSERT_EQ(Focus(), button2_);
    // Minimise with the caption button, restore as the taskbar does.
    POINT minimise;
    ASSERT_TRUE(FindOnCaption(window_, HTMINBUTTON, minimise));
    Click(minimise);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(window_) != FALSE; }));
    PostMessageA(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsIconic(window_) && GetForegroundWindow() == window_; }));
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(Focus(), button2_);
}

std::string Text(HWND edit) {
    const int length = static_cast<int>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

TEST_F(ControlsTest, EditBoxKeepsWhatIsTypedInEitherCaseAndInChinese) {
    TypeUnicode(L"Kestrune kESTRUNE 中文输入 123");
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(Text(edit_), "Kestrune kESTRUNE 中文输入 123");
}

// A helper window owns the driver's clipboard data.
class ClipboardText {
public:
    explicit ClipboardText(const std::string& text) {
        owner_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        if (!OpenClipboard(owner_)) return;
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        placed_ = SetClipboardData(CF_TEXT, memory) != nullptr;
        CloseClipboard();
    }
    ~ClipboardText() { DestroyWindow(owner_); }
    bool placed() const { return placed_; }

private:
    HWND owner_ = nullptr;
    bool placed_ = false;
};

TEST_F(ControlsTest, LongTextScrollsAndStaysWhole) {
    std::string text;
    for (int i = 0; text.size() < 100000; ++i) text += static_cast<char>('a' + i % 26) + std::string(i % 7 == 0 ? "Z" : "");
    text.resize(100000);
    ClipboardText clip(text);
    ASSERT_TRUE(clip.placed());
    Tap('V', kCtrl);
    ASSERT_TRUE(Fence(probe_));
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(edit_, WM_GETTEXTLENGTH, 0, 0) == 100000; }));
    EXPECT_EQ(Text(edit_), text);
    // The caret is at the end and the last character in view: the box has
    // scrolled some hundreds of thousands of pixels.
    DWORD start = 0, end = 0;
    SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 100000u);
    const LRESULT last = SendMessageA(edit_, EM_POSFROMCHAR, 99999, 0);
    RECT client;
    GetClientRect(edit_, &client);
    EXPECT_GE(static_cast<short>(LOWORD(last)), 0);
    EXPECT_LT(static_cast<short>(LOWORD(last)), client.right);
    TypeUnicode(L"!");
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(Text(edit_), text + "!");
}

int Luminance(COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; }

TEST_F(ControlsTest, LabelShowsDarkGlyphsOnTheWindowsOwnColour) {
    ASSERT_TRUE(Repaint());
    RECT label = WindowRectOf(label_);
    label.right = WindowRectOf(edit_).left;  // the edit box covers the rest
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int faceCount = 0, dark = 0, brighter = 0;
    size_t total = 0;
    auto look = [&] {
        const Capture shot = CaptureScreen(label);
        total = shot.pixels.size();
        faceCount = dark = brighter = 0;
        for (COLORREF c : shot.pixels) {
            if (c == face) ++faceCount;
            if (Luminance(c) < 80) ++dark;
            // Anti-aliased edges blend black into the face colour, never past it.
            if (GetRValue(c) > GetRValue(face) || GetGValue(c) > GetGValue(face) || GetBValue(c) > GetBValue(face))
                ++brighter;
        }
        return dark > 50 && brighter == 0;
    };
    WaitFor(look, 3000);
    EXPECT_GT(faceCount, static_cast<int>(total) * 6 / 10);
    EXPECT_GT(dark, 50);  // the glyphs are there, and dark
    EXPECT_EQ(brighter, 0);
}

TEST_F(ControlsTest, EditBoxIsWhiteInsideItsEdgeBandsIncluded) {
    Tap(VK_TAB);  // no caret in the box
    ASSERT_TRUE(Fence(probe_));
    ASSERT_TRUE(Repaint());
    RECT inside = WindowRectOf(edit_);
    InflateRect(&inside, -2, -2);  // the sunken edge
    int notWhite = 0;
    size_t total = 0;
    WaitFor(
        [&] {
            const Capture shot = CaptureScreen(inside);
            total = shot.pixels.size();
            notWhite = 0;
            for (COLORREF c : shot.pixels) notWhite += c != RGB(255, 255, 255);
            return notWhite == 0;
        },
        3000);
    EXPECT_GT(total, 300u);
    EXPECT_EQ(notWhite, 0) << "of " << total;

    // The text line is centred, with the bands outside the client area.
    const RECT client = ClientRectOnScreen(edit_);
    const RECT outer = WindowRectOf(edit_);
    const int above = client.top - (outer.top + 2), below = (outer.bottom - 2) - client.bottom;
    EXPECT_GE(above, 0);
    EXPECT_TRUE(below == above || below == above + 1) << above << " above, " << below << " below";
}

TEST_F(ControlsTest, PressInABandDoesNotMoveTheCaret) {
    TypeUnicode(L"hello");
    ASSERT_TRUE(Fence(probe_));
    const RECT client = ClientRectOnScreen(edit_);
    const RECT outer = WindowRectOf(edit_);
    DWORD start = 0, end = 0;
    auto caret = [&] {
        SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start;
    };
    ASSERT_EQ(caret(), 5u);
    if (client.top - outer.top > 2) {
        Click({client.left + 1, outer.top + 2});  // the band above the line
        ASSERT_TRUE(Fence(probe_));
        EXPECT_EQ(caret(), 5u);
    }
    if (outer.bottom - client.bottom > 2) {
        Click({client.left + 1, outer.bottom - 3});  // the band below
        ASSERT_TRUE(Fence(probe_));
        EXPECT_EQ(caret(), 5u);
    }
    EXPECT_TRUE(client.top - outer.top > 2 || outer.bottom - client.bottom > 2) << "no band to press in";
    Click({client.left + 1, (client.top + client.bottom) / 2});  // the line itself does move it
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(caret(), 0u);
}

TEST_F(ControlsTest, NeitherButtonLooksLikeTheDefault) {
    for (HWND b : {button1_, button2_}) {
        EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
        EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_FOCUS);
    }
    // Unfocused, the two frames are drawn alike, pixel for pixel.
    ASSERT_TRUE(Repaint());
    int differ = 0;
    WaitFor(
        [&] {
            const Capture one = CaptureScreen(WindowRectOf(button1_));
            const Capture two = CaptureScreen(WindowRectOf(button2_));
            differ = one.width == two.width ? 0 : -1;
            for (int y = 0; differ >= 0 && y < one.height; ++y)
                for (int x = 0; x < one.width; ++x)
                    if ((x < 3 || y < 3 || x >= one.width - 3 || y >= one.height - 3) && one.at(x, y) != two.at(x, y))
                        ++differ;
            return differ == 0;
        },
        3000);
    EXPECT_EQ(differ, 0);
}

}  // namespace

namespace {

using namespace kt;

// Counted from inside the program by the probe's wrappers of its imports.
TEST_F(ControlsTest, MakesItsObjectsOnceNeverPerPaintOrClick) {
    const probe::Shared& s = probe_.shared();
    auto expectStartupObjects = [&] {
        EXPECT_EQ(s.brushesCreated, 1);     // the edit box's white brush
        EXPECT_EQ(s.gdiObjectsDeleted, 0);
        EXPECT_EQ(s.iconsLoaded, 2);        // big and small
        EXPECT_EQ(s.iconsDestroyed, 0);
        EXPECT_EQ(s.classesRegistered, 2);  // the window's and the label's
        EXPECT_EQ(s.windowsCreated, 5);
        EXPECT_EQ(s.dcsTaken, s.dcsReleased);
    };
    expectStartupObjects();
    const LONG paintsBefore = s.paints;
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(Repaint());
        Click(CentreOf(i % 2 ? button1_ : button2_));
        Tap(VK_TAB);
        TypeUnicode(L"x");
    }
    ASSERT_TRUE(Fence(probe_));
    EXPECT_EQ(ShellRequests().size(), 30u);
    EXPECT_GE(s.paints - paintsBefore, 60);  // window and label, every time
    expectStartupObjects();
}

}  // namespace
