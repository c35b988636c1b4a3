#pragma once
// What the main window needs of each of its controls.
#include <windows.h>

#include "ui/form.h"

// Controls live as members of their window, never on the heap, so the base
// needs no virtual destructor and nothing is pure: the program links no C++
// exception or allocation runtime.
class Control {
public:
    // Creates the platform window, hidden, as a child of `parent`.
    virtual bool Create(HWND /*parent*/, const FormEntry& /*entry*/) { return false; }
    // Whether the keyboard may ever put the focus here.
    virtual bool CanTakeFocus() const { return false; }
    // A WM_COMMAND notification the control sent to its parent, handed back.
    virtual void OnCommand(WORD /*code*/) {}
    // A colour request handed back; null means "use the default colours".
    virtual HBRUSH OnColour(HDC /*dc*/) { return nullptr; }

    HWND handle() const { return handle_; }

protected:
    ~Control() = default;

    // Creates the child with the styles common to all controls: hidden,
    // clipping its siblings, a tab stop when it takes the focus.
    bool CreateChild(HWND parent, const FormEntry& entry, DWORD exStyle, const char* className, DWORD style);

    HWND handle_ = nullptr;
};
