#pragma once
#include "ui/control.h"
#include "ui/gdi.h"

// A single-line edit box, white, with a sunken edge, whose text line sits
// vertically centred between two white bands.
class EditBox : public Control {
public:
    ~EditBox();
    bool Create(HWND parent, const FormEntry& entry) override;
    bool CanTakeFocus() const override { return true; }
    HBRUSH OnColour(HDC dc) override;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CentreTextLine(RECT& client);
    void PaintBands();
    LRESULT HitTest(WPARAM wParam, LPARAM lParam);

    SolidBrush background_;
    WNDPROC platformProc_ = nullptr;
};
