#pragma once
#include "ui/control.h"

// A one-line text label that paints no background of its own, so the
// window's colour shows around and between the glyphs.
class TransLabel : public Control {
public:
    bool Create(HWND parent, const FormEntry& entry) override;
    bool CanTakeFocus() const override { return false; }
};
