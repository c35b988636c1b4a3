#include "ui/key_filter.h"

#include <windows.h>

KeyAction DecideKey(unsigned message, unsigned virtualKey, Modifiers mods) {
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return KeyAction::PassOn;
    const bool plain = !mods.ctrl && !mods.shift && !mods.alt;
    const bool shiftOnly = !mods.ctrl && mods.shift && !mods.alt;
    switch (virtualKey) {
    case VK_TAB:
        if (plain) return KeyAction::FocusNext;
        if (shiftOnly) return KeyAction::FocusPrev;
        return KeyAction::PassOn;
    case VK_ESCAPE:
        return plain ? KeyAction::Close : KeyAction::PassOn;
    default:
        return KeyAction::PassOn;
    }
}
