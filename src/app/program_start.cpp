#include "app/program_start.h"

#include <windows.h>
#include <ole2.h>

#include "app/error_box.h"
#include "app/exe_folder.h"
#include "app/run_loop.h"
#include "ui/main_window.h"

namespace {

// Executables are often started from a downloads folder: keep DLLs planted
// there out of every later load. Looked up at run time because systems
// before Windows 8 (without KB2533623) lack the function.
void LoadDllsFromSystemOnly() {
    using SetDirs = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    const auto set = reinterpret_cast<SetDirs>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// Makes the executable's folder the current directory. A path too long for
// the buffer is left alone rather than cut to some other folder.
void EnterExeFolder() {
    char path[MAX_PATH];
    const DWORD copied = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (CutToFolder(path, copied, MAX_PATH, IsAnsiLeadByte)) SetCurrentDirectoryA(path);
}

// Ends OLE for the thread if it was started; safe to call more than once.
class OleSession {
public:
    OleSession() : started_(true) { OleInitialize(nullptr); }
    ~OleSession() { End(); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    void End() {
        if (!started_) return;
        OleUninitialize();
        started_ = false;
    }

private:
    bool started_;
};

}  // namespace

int ProgramStart() {
    LoadDllsFromSystemOnly();
    OleSession ole;
    EnterExeFolder();

    MainWindow window;
    if (!window.Load()) {
        ShowStartFailure();
        ole.End();
        ExitProcess(static_cast<UINT>(-1));
    }
    return RunLoop(window);
}
