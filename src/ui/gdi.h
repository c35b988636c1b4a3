#pragma once
// Owners for the few GDI and USER objects the window uses, so that each is
// released exactly once and every selection is put back.
#include <windows.h>

class SolidBrush {
public:
    SolidBrush() = default;
    ~SolidBrush() { Reset(nullptr); }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    bool Create(COLORREF colour) {
        Reset(CreateSolidBrush(colour));
        return brush_ != nullptr;
    }
    HBRUSH get() const { return brush_; }

private:
    void Reset(HBRUSH brush) {
        if (brush_) DeleteObject(brush_);
        brush_ = brush;
    }
    HBRUSH brush_ = nullptr;
};

class OwnedIcon {
public:
    OwnedIcon() = default;
    ~OwnedIcon() {
        if (icon_) DestroyIcon(icon_);
    }
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    void Load(HINSTANCE module, const char* name, int size) {
        if (!icon_) icon_ = static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    }
    HICON get() const { return icon_; }

private:
    HICON icon_ = nullptr;
};

// A device context from GetDC / GetWindowDC, released on scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window) { BeginPaint(window, &paint_); }
    ~PaintSession() { EndPaint(window_, &paint_); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    HDC dc() const { return paint_.hdc; }

private:
    HWND window_;
    PAINTSTRUCT paint_;
};

// Extent of `text` in `font` on the screen.
inline SIZE MeasureText(HWND window, HFONT font, const char* text) {
    SIZE size = {0, 0};
    WindowDC dc(window);
    if (!dc.get()) return size;
    Selected select(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    GetTextExtentPoint32A(dc.get(), text, lstrlenA(text), &size);
    return size;
}

inline HFONT DefaultGuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
