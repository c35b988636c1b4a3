// Starts kestrune.exe, waits until its window is up and painted, saves a
// picture of it with a margin of desktop, and closes it.
//   snapshot.exe KESTRUNE.EXE OUT.BMP
#include <windows.h>

#include <cstdio>

#include "harness.h"

int main(int argc, char** argv) {
    int result = 1;
    if (argc == 3) {
        kt::LaunchOptions options;
        options.exe = argv[1];
        kt::Program program(options);
        const HWND window = program.WaitForWindow();
        if (window && kt::WaitFor([&] { return GetForegroundWindow() == window; })) {
            kt::PaintNow(window);
            RECT area = kt::WindowRectOf(window);
            InflateRect(&area, 12, 12);
            const bool saved = kt::SaveBitmap(kt::CaptureScreen(area), argv[2]);
            PostMessageA(window, WM_CLOSE, 0, 0);
            result = saved && program.WaitForExit() == 0 ? 0 : 1;
        }
    }
    if (result != 0) std::fprintf(stderr, "snapshot: the window did not come up, or did not close cleanly\n");
    return kt::ReportExitCode(result);
}
