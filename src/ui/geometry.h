#pragma once
// Window arithmetic that needs no window.

struct Point {
    int x, y;
};

// Top-left corner that centres a w x h window on a screen of sw x sh.
// Integer division truncates toward zero, so a window wider than the screen
// starts left of it: (640 - 673) / 2 == -16.
constexpr Point CentredOrigin(int sw, int sh, int w, int h) { return {(sw - w) / 2, (sh - h) / 2}; }

// Height an edit box needs to show one line of text `textHeight` high inside
// its sunken edge; a box that is higher already keeps its height.
constexpr int LeastEditHeight(int height, int textHeight, int edgeHeight) {
    return height < textHeight + 2 * edgeHeight ? textHeight + 2 * edgeHeight : height;
}

struct Band {
    int top, bottom;
};

// Narrows a client area [top, bottom) to one text line `lineHeight` high,
// centred; the remainder of an odd split goes to the lower band. An area
// already too low for the line is left as it is.
constexpr Band CentredLine(int top, int bottom, int lineHeight) {
    return bottom - top <= lineHeight ? Band{top, bottom}
                                      : Band{top + (bottom - top - lineHeight) / 2,
                                             top + (bottom - top - lineHeight) / 2 + lineHeight};
}

static_assert(CentredOrigin(1920, 1080, 673, 76).x == 623 && CentredOrigin(1920, 1080, 673, 76).y == 502);
static_assert(CentredOrigin(640, 480, 673, 76).x == -16);
