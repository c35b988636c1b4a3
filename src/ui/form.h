#pragma once
// The form description: the window and its four controls as one constant,
// ordered table. The order is the creation order (walked backwards), the
// stacking order (walked forwards) and breaks ties in the focus order.
#include <cstddef>

enum class Kind { Window, Button, EditBox, TransLabel };

struct Rect {
    int left, top, width, height;
};

using ClickAction = void (*)();

struct FormEntry {
    Kind kind;
    const char* name;
    Rect rect;  // the window: outer size on the screen; a control: client coordinates
    bool visible, disabled, takesFocus;
    int focusOrder;
    const char* caption;
    ClickAction onClick;  // bound to a push button's click; null elsewhere
};

constexpr size_t kFormSize = 5;
extern const FormEntry kForm[kFormSize];

constexpr size_t kWindowEntry = 0;
