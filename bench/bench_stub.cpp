// Stands in for the web browser while clicks are measured: notes that it ran
// (one byte appended to %KESTRUNE_BENCH_STUB_LOG%) and exits at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("KESTRUNE_BENCH_STUB_LOG", path, MAX_PATH)) {
        HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0,
                                 nullptr);
        DWORD written;
        WriteFile(log, "x", 1, &written, nullptr);
        CloseHandle(log);
    }
    return 0;
}
