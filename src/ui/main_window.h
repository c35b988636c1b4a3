#pragma once
// The program's one window: built from the form description, it owns its
// controls, keeps the keyboard focus where the user left it and ends the
// message loop when it is destroyed.
#include <windows.h>

#include "ui/button.h"
#include "ui/control.h"
#include "ui/edit_box.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/trans_label.h"

class MainWindow {
public:
    MainWindow() = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Builds and shows the window with its controls. False when the window
    // or one of its controls could not be created.
    bool Load();

    // Whether `window` is this window or one of its controls.
    bool Owns(HWND window) const;
    // Tab, Shift+Tab and Esc; true when the message was consumed.
    bool FilterKey(const MSG& msg);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    bool CreateFrame();
    void SetIcons();
    bool CreateControls();
    void StackAndShowControls();
    void PaintBackground();
    void PassFocusOn(HWND lost);
    void KeepFocus();
    void MoveFocus(bool backwards);
    size_t FocusRing(size_t* ring) const;
    size_t EntryOf(HWND window) const;  // the control's form entry, or kNoEntry
    Control* ControlOf(HWND window) const;
    LRESULT ReflectCommand(WPARAM wParam, LPARAM lParam);
    LRESULT ReflectColour(UINT message, WPARAM wParam, LPARAM lParam);
    Control* Allot(Kind kind);

    HWND handle_ = nullptr;

    // One object for each control of the form, handed out by Allot.
    Button buttons_[2];
    EditBox editBox_;
    TransLabel label_;
    size_t buttonsAllotted_ = 0;
    Control* controls_[kFormSize] = {};  // by form entry; none for the window
    HWND focusKeeper_ = nullptr;
    OwnedIcon bigIcon_;
    OwnedIcon smallIcon_;
};
