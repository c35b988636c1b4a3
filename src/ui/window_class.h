#pragma once
#include <windows.h>

// Registers a window class of this program: redrawn whole when resized,
// double clicks on, the arrow cursor, no icon, and the stock NULL_BRUSH as
// background, so that nothing is erased before WM_PAINT. The class lives as
// long as the process; a second registration is harmless.
bool RegisterWindowClass(const char* name, WNDPROC windowProc);
