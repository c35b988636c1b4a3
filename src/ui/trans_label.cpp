#include "ui/trans_label.h"

#include "ui/gdi.h"
#include "ui/window_class.h"

namespace {

constexpr char kClassName[] = "KestruneTransLabel";

void Paint(HWND window) {
    PaintSession paint(window);
    char text[256];
    if (GetWindowTextA(window, text, sizeof text) == 0) return;
    RECT client;
    GetClientRect(window, &client);
    Selected font(paint.dc(), DefaultGuiFont());
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), RGB(0, 0, 0));
    DrawTextA(paint.dc(), text, -1, &client, DT_NOCLIP | DT_LEFT | DT_SINGLELINE | DT_VCENTER);
}

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        Paint(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool TransLabel::Create(HWND parent, const FormEntry& entry) {
    return RegisterWindowClass(kClassName, LabelProc) && CreateChild(parent, entry, WS_EX_TRANSPARENT, kClassName, 0);
}
