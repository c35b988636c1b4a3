#include "ui/key_filter.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr Modifiers kPlain = {false, false, false};
constexpr Modifiers kShift = {false, true, false};
constexpr Modifiers kCtrl = {true, false, false};
constexpr Modifiers kAlt = {false, false, true};
constexpr Modifiers kCtrlShift = {true, true, false};

struct KeyCase {
    const char* name;
    unsigned message, vk;
    Modifiers mods;
    KeyAction action;
};

const KeyCase kCases[] = {
    {"tab moves on", WM_KEYDOWN, VK_TAB, kPlain, KeyAction::FocusNext},
    {"shift+tab moves back", WM_KEYDOWN, VK_TAB, kShift, KeyAction::FocusPrev},
    {"ctrl+tab is not ours", WM_KEYDOWN, VK_TAB, kCtrl, KeyAction::PassOn},
    {"ctrl+shift+tab is not ours", WM_KEYDOWN, VK_TAB, kCtrlShift, KeyAction::PassOn},
    {"alt+tab is the system's", WM_SYSKEYDOWN, VK_TAB, kAlt, KeyAction::PassOn},
    {"esc closes", WM_KEYDOWN, VK_ESCAPE, kPlain, KeyAction::Close},
    {"shift+esc does not close", WM_KEYDOWN, VK_ESCAPE, kShift, KeyAction::PassOn},
    {"ctrl+esc does not close", WM_KEYDOWN, VK_ESCAPE, kCtrl, KeyAction::PassOn},
    {"alt+esc does not close", WM_SYSKEYDOWN, VK_ESCAPE, kAlt, KeyAction::PassOn},
    {"enter presses nothing", WM_KEYDOWN, VK_RETURN, kPlain, KeyAction::PassOn},
    {"f1 opens no help", WM_KEYDOWN, VK_F1, kPlain, KeyAction::PassOn},
    {"alt+letter has no mnemonic to find", WM_SYSKEYDOWN, 'A', kAlt, KeyAction::PassOn},
    {"a letter is typed", WM_KEYDOWN, 'A', kPlain, KeyAction::PassOn},
    {"space clicks through the button itself", WM_KEYDOWN, VK_SPACE, kPlain, KeyAction::PassOn},
    {"key releases are not looked at", WM_KEYUP, VK_ESCAPE, kPlain, KeyAction::PassOn},
    {"characters are not looked at", WM_CHAR, VK_ESCAPE, kPlain, KeyAction::PassOn},
    {"tab release is not looked at", WM_KEYUP, VK_TAB, kPlain, KeyAction::PassOn},
};

TEST(KeyFilter, DecidesEachKey) {
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecideKey(c.message, c.vk, c.mods), c.action);
    }
}

}  // namespace
