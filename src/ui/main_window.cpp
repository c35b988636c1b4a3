#include "ui/main_window.h"

#include "ui/focus_ring.h"
#include "ui/geometry.h"
#include "ui/key_filter.h"
#include "ui/window_class.h"

namespace {

constexpr char kClassName[] = "KestruneMainWindow";
constexpr char kIconName[] = "DEFAULT_ICON";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFrameBits = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

bool IsKeyDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

bool MainWindow::Load() {
    if (!CreateFrame()) return false;
    SetIcons();
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), TRUE);
    if (!CreateControls()) return false;
    StackAndShowControls();
    ShowWindow(handle_, SW_SHOW);
    return true;
}

bool MainWindow::CreateFrame() {
    if (!RegisterWindowClass(kClassName, &MainWindow::WindowProc)) return false;
    const FormEntry& entry = kForm[kWindowEntry];
    const int width = entry.rect.width;
    const int height = entry.rect.height;
    const Point origin =
        CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
    handle_ = CreateWindowExA(0, kClassName, entry.caption, kStyle, origin.x, origin.y, width, height, nullptr,
                              nullptr, GetModuleHandleA(nullptr), this);
    if (!handle_) return false;

    const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    if ((style & kFrameBits) != (kStyle & kFrameBits)) {
        SetWindowLongPtrA(handle_, GWL_STYLE, (style & ~kFrameBits) | (kStyle & kFrameBits));
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT outer;
    GetWindowRect(handle_, &outer);
    if (outer.right - outer.left != width || outer.bottom - outer.top != height) {
        MoveWindow(handle_, origin.x, origin.y, width, height, TRUE);
    }
    return true;
}

void MainWindow::SetIcons() {
    const HINSTANCE module = GetModuleHandleA(nullptr);
    bigIcon_.Load(module, kIconName, 32);
    smallIcon_.Load(module, kIconName, 16);
    if (bigIcon_.get()) SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    if (smallIcon_.get()) SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

Control* MainWindow::Allot(Kind kind) {
    switch (kind) {
    case Kind::Button: return buttonsAllotted_ < 2 ? &buttons_[buttonsAllotted_++] : nullptr;
    case Kind::EditBox: return editBox_.handle() ? nullptr : &editBox_;
    case Kind::TransLabel: return label_.handle() ? nullptr : &label_;
    case Kind::Window: break;
    }
    return nullptr;
}

bool MainWindow::CreateControls() {
    for (size_t i = kFormSize - 1; i > kWindowEntry; --i) {
        controls_[i] = Allot(kForm[i].kind);
        if (!controls_[i] || !controls_[i]->Create(handle_, kForm[i])) return false;
    }
    return true;
}

// Each control goes directly behind the one before it in the form, the first
// to the top: the later an entry, the lower it lies.
void MainWindow::StackAndShowControls() {
    HWND above = HWND_TOP;
    for (size_t i = kWindowEntry + 1; i < kFormSize; ++i) {
        SetWindowPos(controls_[i]->handle(), above, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        above = controls_[i]->handle();
    }
    for (size_t i = kFormSize - 1; i > kWindowEntry; --i) {
        ShowWindow(controls_[i]->handle(), kForm[i].visible ? SW_SHOWNA : SW_HIDE);
    }
}

bool MainWindow::Owns(HWND window) const {
    return window && handle_ && (window == handle_ || IsChild(handle_, window));
}

bool MainWindow::FilterKey(const MSG& msg) {
    const Modifiers mods = {IsKeyDown(VK_CONTROL), IsKeyDown(VK_SHIFT), IsKeyDown(VK_MENU)};
    switch (DecideKey(msg.message, static_cast<unsigned>(msg.wParam), mods)) {
    case KeyAction::PassOn: return false;
    case KeyAction::FocusNext: MoveFocus(false); return true;
    case KeyAction::FocusPrev: MoveFocus(true); return true;
    case KeyAction::Close: SendMessageA(handle_, WM_CLOSE, 0, 0); return true;
    }
    return false;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: PaintBackground(); return 0;
    case WM_SETFOCUS: PassFocusOn(reinterpret_cast<HWND>(wParam)); return 0;
    case WM_ACTIVATE: {
        const LRESULT result = DefWindowProcA(handle_, message, wParam, lParam);
        if (LOWORD(wParam) == WA_INACTIVE) KeepFocus();
        return result;
    }
    case WM_COMMAND: return ReflectCommand(wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX: return ReflectColour(message, wParam, lParam);
    case WM_NCDESTROY:
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        handle_ = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}

// The system's own button-face brush: nothing to create or free per paint.
void MainWindow::PaintBackground() {
    PaintSession paint(handle_);
    RECT box;
    if (GetClipBox(paint.dc(), &box) != NULLREGION && !IsRectEmpty(&box)) {
        FillRect(paint.dc(), &box, GetSysColorBrush(COLOR_BTNFACE));
    }
}

size_t MainWindow::EntryOf(HWND window) const {
    for (size_t i = kWindowEntry + 1; window && i < kFormSize; ++i) {
        if (controls_[i] && controls_[i]->handle() == window) return i;
    }
    return kNoEntry;
}

Control* MainWindow::ControlOf(HWND window) const {
    const size_t entry = EntryOf(window);
    return entry == kNoEntry ? nullptr : controls_[entry];
}

// A notification goes back to the control that sent it: a button's
// BN_CLICKED becomes its click. (No control of this form sends WM_NOTIFY.)
LRESULT MainWindow::ReflectCommand(WPARAM wParam, LPARAM lParam) {
    if (Control* control = ControlOf(reinterpret_cast<HWND>(lParam))) control->OnCommand(HIWORD(wParam));
    return 0;
}

LRESULT MainWindow::ReflectColour(UINT message, WPARAM wParam, LPARAM lParam) {
    if (Control* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnColour(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}

size_t MainWindow::FocusRing(size_t* ring) const {
    FocusCandidate candidates[kFormSize];
    size_t count = 0;
    for (size_t i = kWindowEntry + 1; i < kFormSize; ++i) {
        const Control* control = controls_[i];
        const bool eligible = control && control->CanTakeFocus() && kForm[i].takesFocus &&
                              IsWindowVisible(control->handle()) && IsWindowEnabled(control->handle());
        candidates[count++] = {i, kForm[i].focusOrder, eligible};
    }
    return BuildFocusRing(candidates, count, ring);
}

// The window never keeps the focus itself: it goes back to the control that
// had it when the window was last deactivated, else to the first of the ring.
// Activation by a click on the caption can hand the window the focus twice;
// the second time the keeper is empty, but `lost` is the control that has
// just been given the focus back, and it keeps it.
void MainWindow::PassFocusOn(HWND lost) {
    HWND target = focusKeeper_;
    focusKeeper_ = nullptr;
    if (!target || !IsWindow(target) || !IsChild(handle_, target)) target = ControlOf(lost) ? lost : nullptr;
    if (!target) {
        size_t ring[kFormSize];
        target = FocusRing(ring) > 0 ? controls_[ring[0]]->handle() : nullptr;
    }
    if (target) SetFocus(target);
}

void MainWindow::KeepFocus() {
    const HWND focused = GetFocus();
    if (ControlOf(focused)) focusKeeper_ = focused;
}

void MainWindow::MoveFocus(bool backwards) {
    const size_t current = EntryOf(GetFocus());
    if (current == kNoEntry) return;  // the focus is elsewhere: nothing to walk from
    size_t ring[kFormSize];
    const size_t next = StepFocus(ring, FocusRing(ring), current, backwards);
    if (next != kNoEntry) SetFocus(controls_[next]->handle());
}
