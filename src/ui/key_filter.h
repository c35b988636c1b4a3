#pragma once
// What the main window does with a key before the focused control sees it.

enum class KeyAction {
    PassOn,     // not consumed: translated and dispatched as usual
    FocusNext,  // consumed
    FocusPrev,  // consumed
    Close,      // consumed
};

struct Modifiers {
    bool ctrl, shift, alt;
};

// Decides for one message: only key-down messages (WM_KEYDOWN, WM_SYSKEYDOWN)
// are looked at. Plain Tab and Shift+Tab walk the focus ring, plain Esc
// closes. Enter, F1 and Alt+letter have nothing to act on in this form (no
// default push button, no help, no "&" in a caption), so they pass on.
KeyAction DecideKey(unsigned message, unsigned virtualKey, Modifiers mods);
