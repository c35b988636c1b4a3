#pragma once
// A running kestrune.exe with the probe inside, its window up and in front,
// and its shell requests recorded instead of made.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "harness.h"

namespace kt {

class RunningProgram : public testing::Test {
protected:
    void SetUp() override {
        shellLog_ = TempFolder() + "\\shell.log";
        LaunchOptions options;
        options.probe = &probe_;
        options.env.emplace_back(probe::kShellLogEnv, shellLog_);
        program_ = std::make_unique<Program>(options);
        ASSERT_TRUE(program_->started());
        window_ = program_->WaitForWindow();
        ASSERT_TRUE(window_);
        ASSERT_TRUE(WaitFor([&] { return probe_.shared().attached != 0; }));
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }));
        ASSERT_TRUE(Fence(probe_));
        const auto children = Children(window_);  // top of the stack first
        ASSERT_EQ(children.size(), 4u);
        button2_ = children[0];
        button1_ = children[1];
        edit_ = children[2];
        label_ = children[3];
    }

    // The shell requests made so far, one line each.
    std::vector<std::string> ShellRequests() const { return ReadLines(shellLog_); }

    // Forces a repaint and waits until the window and the label have both
    // painted once more, as counted inside the program.
    bool Repaint() {
        const LONG before = probe_.shared().paints;
        PaintNow(window_);
        return WaitFor([&] { return probe_.shared().paints >= before + 2; });
    }

    HWND Focus() const { return FocusOf(program_->thread()); }

    Probe probe_;
    std::string shellLog_;
    std::unique_ptr<Program> program_;
    HWND window_ = nullptr;
    HWND button2_ = nullptr, button1_ = nullptr, edit_ = nullptr, label_ = nullptr;
};

}  // namespace kt
