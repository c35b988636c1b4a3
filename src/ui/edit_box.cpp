#include "ui/edit_box.h"

#include "ui/geometry.h"

namespace {

constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kBackColour = RGB(255, 255, 255);
// A wide, tall glyph of the code page: the line must fit Chinese text.
constexpr char kTallGlyph[] = "吴";

void RecalculateFrame(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

EditBox::~EditBox() {
    // The platform destroys the window with its parent; if it still exists,
    // it must not call back into this object.
    if (handle_ && IsWindow(handle_) && platformProc_) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(platformProc_));
    }
}

bool EditBox::Create(HWND parent, const FormEntry& entry) {
    background_.Create(kBackColour);
    if (!CreateChild(parent, entry, 0, "EDIT", ES_LEFT | ES_AUTOHSCROLL)) return false;
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    platformProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditBox::SubclassProc)));

    const SIZE glyph = MeasureText(nullptr, DefaultGuiFont(), kTallGlyph);
    const int height = LeastEditHeight(entry.rect.height, glyph.cy, GetSystemMetrics(SM_CYEDGE));
    if (height != entry.rect.height) {
        SetWindowPos(handle_, nullptr, 0, 0, entry.rect.width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), TRUE);
    RecalculateFrame(handle_);

    SendMessageA(handle_, EM_LIMITTEXT, 0, 0);
    SendMessageA(handle_, EM_SETSEL, 0, 0);
    SendMessageA(handle_, EM_SCROLLCARET, 0, 0);

    const LONG_PTR exStyle = GetWindowLongPtrA(handle_, GWL_EXSTYLE);
    SetWindowLongPtrA(handle_, GWL_EXSTYLE, (exStyle | WS_EX_CLIENTEDGE) & ~(WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME));
    RecalculateFrame(handle_);
    SetWindowLongPtrA(handle_, GWL_STYLE, GetWindowLongPtrA(handle_, GWL_STYLE) & ~WS_BORDER);
    RecalculateFrame(handle_);
    return true;
}

HBRUSH EditBox::OnColour(HDC dc) {
    SetTextColor(dc, kTextColour);
    SetBkColor(dc, kBackColour);
    return background_.get();
}

LRESULT CALLBACK EditBox::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<EditBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) return self->Handle(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT EditBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE: {
        const LRESULT result = CallWindowProcA(platformProc_, handle_, message, wParam, lParam);
        // Both forms of the message start with the client rectangle.
        CentreTextLine(*reinterpret_cast<RECT*>(lParam));
        return result;
    }
    case WM_NCPAINT:
        PaintBands();
        break;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(handle_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
        return 1;
    }
    case WM_NCHITTEST:
        return HitTest(wParam, lParam);
    }
    return CallWindowProcA(platformProc_, handle_, message, wParam, lParam);
}

void EditBox::CentreTextLine(RECT& client) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(handle_, WM_GETFONT, 0, 0));
    const Band line = CentredLine(client.top, client.bottom, MeasureText(handle_, font, "W").cy);
    client.top = line.top;
    client.bottom = line.bottom;
}

// Fills everything outside the client area white; the platform then draws the
// edge over it.
void EditBox::PaintBands() {
    RECT window, client;
    GetWindowRect(handle_, &window);
    GetClientRect(handle_, &client);
    MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    WindowDC dc(handle_, true);
    if (!dc.get()) return;
    ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
    FillRect(dc.get(), &window, background_.get());
}

// The bands belong to the border: a press there must not move the caret.
LRESULT EditBox::HitTest(WPARAM wParam, LPARAM lParam) {
    const LRESULT hit = CallWindowProcA(platformProc_, handle_, WM_NCHITTEST, wParam, lParam);
    if (hit != HTCLIENT && hit != HTNOWHERE) return hit;
    const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT window, client;
    GetWindowRect(handle_, &window);
    GetClientRect(handle_, &client);
    MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return PtInRect(&window, at) && !PtInRect(&client, at) ? HTBORDER : hit;
}
