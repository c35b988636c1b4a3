#include "ui/control.h"

bool Control::CreateChild(HWND parent, const FormEntry& entry, DWORD exStyle, const char* className, DWORD style) {
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (entry.takesFocus) style |= WS_TABSTOP;
    if (entry.disabled) style |= WS_DISABLED;
    handle_ = CreateWindowExA(exStyle, className, entry.caption, style, entry.rect.left, entry.rect.top,
                              entry.rect.width, entry.rect.height, parent, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    return handle_ != nullptr;
}
