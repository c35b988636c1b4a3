#include "ui/trans_label.h"

#include "ui/gdi.h"

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

// The class lives as long as the process; registering it a second time is
// harmless.
bool RegisterLabelClass() {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = LabelProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool TransLabel::Create(HWND parent, const FormEntry& entry) {
    return RegisterLabelClass() && CreateChild(parent, entry, WS_EX_TRANSPARENT, kClassName, 0);
}
