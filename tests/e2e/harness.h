#pragma once
// Drives the real kestrune.exe from another process in the same (virtual)
// desktop: starts it, finds its windows, sends real keyboard and mouse input,
// waits for proof and looks at what it shows.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "probe/probe_shared.h"

namespace kt {

// Folder of the driver executable; kestrune.exe is found from it.
std::string DriverFolder();
std::string KestrunePath();
std::string TempFolder();  // a new, empty folder under %TEMP%

// Writes `code` to the file named by KT_EXIT_FILE, if any, and returns it:
// `explorer /desktop=...` does not pass a program's exit code on.
int ReportExitCode(int code);

// Handles the driver's own window messages, if it has windows.
void PumpMessages();

// Polls `condition` every few milliseconds until it holds or `ms` pass,
// handling the driver's own messages meanwhile.
bool WaitFor(const std::function<bool()>& condition, DWORD ms = 5000);

// The probe DLL's global hooks, installed for the life of the object, and
// the memory it shares with the driver.
class Probe {
public:
    Probe();
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    probe::Shared& shared() { return *shared_; }
    const std::string& mapName() const { return mapName_; }
    // Asks the probe inside the program to fill the answer; false on time-out.
    bool Query(HWND mainWindow, probe::Answer& out);

private:
    HMODULE dll_ = nullptr;
    HHOOK hooks_[3] = {};
    HANDLE map_ = nullptr;
    probe::Shared* shared_ = nullptr;
    std::string mapName_;
};

struct LaunchOptions {
    std::string exe;              // defaults to KestrunePath()
    std::string workingFolder;    // defaults to the driver's
    std::vector<std::pair<std::string, std::string>> env;  // added to the driver's environment
    const Probe* probe = nullptr; // wake the probe inside the program
};

// One run of the program; a run still alive at destruction is killed.
class Program {
public:
    explicit Program(const LaunchOptions& options = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD pid() const { return pid_; }
    DWORD thread() const { return thread_; }
    // The main window, once it and its four controls are visible.
    HWND WaitForWindow(DWORD ms = 10000);
    HWND window() const { return window_; }
    bool Running() const;
    // Exit code, or STILL_ACTIVE when the program has not ended in time.
    DWORD WaitForExit(DWORD ms = 10000);

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    DWORD thread_ = 0;
    HWND window_ = nullptr;
};

// Top-level windows of a process, visible ones only unless asked otherwise.
std::vector<HWND> TopLevelWindows(DWORD pid, bool visibleOnly = true);
// The visible top-level window of a process with `children` child windows,
// all of them visible; null while there is none.
HWND ShownWindow(DWORD pid, size_t children);
std::vector<HWND> Children(HWND parent);
std::string ClassOf(HWND window);
std::string TextOf(HWND window);
HWND FocusOf(DWORD thread);
HWND ActiveOf(DWORD thread);

// Real input, as a user gives it.
enum Mod : unsigned { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
void Key(WORD vk, bool down);
void Tap(WORD vk, unsigned mods = kNone);
void TypeUnicode(const std::wstring& text);
void MouseMove(POINT screen);
void MouseButton(POINT screen, bool right, bool down);
void Click(POINT screen, bool right = false);
void DoubleClick(POINT screen);
// Presses the fence key and waits until the program has taken it, and so
// every input sent before it.
bool Fence(Probe& probe, DWORD ms = 5000);

// Has the window and its children repaint now; returns once they have.
void PaintNow(HWND window);

POINT ClientToScreenPoint(HWND window, int x, int y);
POINT CentreOf(HWND window);
// A screen point on the caption of `window` whose hit test is `hit`
// (HTCLOSE, HTMINBUTTON, ...); false when there is none.
bool FindOnCaption(HWND window, LRESULT hit, POINT& at);
// The lines of a text file, none when it does not exist.
std::vector<std::string> ReadLines(const std::string& path);
RECT WindowRectOf(HWND window);
RECT ClientRectOnScreen(HWND window);

// Pixels of a screen rectangle, row by row, as COLORREF values.
struct Capture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Capture CaptureScreen(const RECT& area);
bool SaveBitmap(const Capture& capture, const std::string& path);

}  // namespace kt
