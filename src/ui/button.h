#pragma once
#include "ui/control.h"

// A plain push button (never the default button) that runs the action bound
// to its click.
class Button : public Control {
public:
    bool Create(HWND parent, const FormEntry& entry) override;
    bool CanTakeFocus() const override { return true; }
    void OnCommand(WORD code) override;

private:
    ClickAction onClick_ = nullptr;
};
