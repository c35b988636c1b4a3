#pragma once

class MainWindow;

// Exit code used when the message queue itself fails: the program cannot go
// on, and ends as it does when its window cannot be built.
constexpr int kLoopFailureCode = -1;

// Runs the thread's message loop until the quit message, offering keyboard
// messages of the main window and its controls to the window's key filter
// first. Returns the quit message's code, or kLoopFailureCode when
// GetMessageA reports an error (retrying would only spin).
int RunLoop(MainWindow& window);
