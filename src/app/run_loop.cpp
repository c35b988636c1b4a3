#include "app/run_loop.h"

#include <windows.h>

#include "ui/main_window.h"

int RunLoop(MainWindow& window) {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return kLoopFailureCode;
        if (window.Owns(msg.hwnd) && window.FilterKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
