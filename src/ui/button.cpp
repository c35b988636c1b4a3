#include "ui/button.h"

#include "ui/gdi.h"

bool Button::Create(HWND parent, const FormEntry& entry) {
    onClick_ = entry.onClick;
    if (!CreateChild(parent, entry, 0, "BUTTON", BS_MULTILINE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER)) return false;
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), TRUE);
    return true;
}

void Button::OnCommand(WORD code) {
    if (code == BN_CLICKED && onClick_) onClick_();
}
