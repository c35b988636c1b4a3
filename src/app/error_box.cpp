#include "app/error_box.h"

#include <windows.h>

void ShowStartFailure() {
    MessageBoxA(nullptr, kErrorBoxText, kErrorBoxTitle, MB_OK | MB_ICONERROR);
}
