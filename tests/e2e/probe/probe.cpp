// Test probe: loaded into every GUI process of the desktop by the driver's
// global hooks, it wakes up only inside kestrune.exe. There it can record the
// shell requests instead of passing them on, refuse one window creation, make
// GetMessageA fail, count fence keys and answer queries from inside.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "probe/probe_shared.h"

namespace {

bool g_active;
probe::Shared* g_shared;
char g_shellLog[MAX_PATH * 2];
char g_refuseClass[128];
LONG g_failGetMessageAfter = -1;
UINT g_queryMessage;

using GetMessageFn = BOOL(WINAPI*)(LPMSG, HWND, UINT, UINT);
GetMessageFn g_realGetMessage;

bool HostIsKestrune() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') base = p + 1;
    return lstrcmpiA(base, "kestrune.exe") == 0;
}

// Points the program's own import of `function` from `dll` at `replacement`.
void* PatchImport(const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return nullptr;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
            DWORD old;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
            void* previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
            return previous;
        }
    }
    return nullptr;
}

const char* OrNull(const char* s) { return s ? s : "(null)"; }

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
    if (FILE* log = std::fopen(g_shellLog, "ab")) {
        std::fprintf(log, "owner=%lu verb=%s file=%s params=%s dir=%s show=%d\n",
                     static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)), OrNull(verb), OrNull(file),
                     OrNull(params), OrNull(dir), show);
        std::fclose(log);
    }
    InterlockedIncrement(&g_shared->shellCalls);
    return reinterpret_cast<HINSTANCE>(42);  // "success", as the shell would say
}

using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
GetProcAddressFn g_realGetProcAddress;

FARPROC WINAPI RecordingGetProcAddress(HMODULE module, LPCSTR name) {
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && lstrcmpA(name, "ShellExecuteA") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&RecordShellExecute));
    return g_realGetProcAddress(module, name);
}

BOOL WINAPI CountingGetMessage(LPMSG msg, HWND window, UINT first, UINT last) {
    const LONG calls = InterlockedIncrement(&g_shared->getMessageCalls);
    if (g_failGetMessageAfter >= 0 && calls > g_failGetMessageAfter) {
        InterlockedIncrement(&g_shared->getMessageFailures);
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return g_realGetMessage(msg, window, first, last);
}

// With the Common Controls 6 manifest the standard classes arrive versioned,
// as "6.0.2600.2982!Edit".
const char* BaseClassName(const char* name) {
    const char* bang = std::strrchr(name, '!');
    return bang ? bang + 1 : name;
}

// Counting wrappers for the program's imports that make or free platform
// objects: the real function runs, the probe counts what it returned.
namespace real {
decltype(&CreateSolidBrush) createSolidBrush;
decltype(&DeleteObject) deleteObject;
decltype(&LoadImageA) loadImage;
decltype(&DestroyIcon) destroyIcon;
decltype(&GetDC) getDC;
decltype(&GetWindowDC) getWindowDC;
decltype(&ReleaseDC) releaseDC;
decltype(&RegisterClassA) registerClass;
decltype(&CreateWindowExA) createWindow;
decltype(&BeginPaint) beginPaint;
}  // namespace real

void Count(volatile LONG& counter, bool happened) {
    if (happened) InterlockedIncrement(&counter);
}

HBRUSH WINAPI CountCreateSolidBrush(COLORREF colour) {
    const HBRUSH b = real::createSolidBrush(colour);
    Count(g_shared->brushesCreated, b != nullptr);
    return b;
}
BOOL WINAPI CountDeleteObject(HGDIOBJ object) {
    const BOOL ok = real::deleteObject(object);
    Count(g_shared->gdiObjectsDeleted, ok);
    return ok;
}
HANDLE WINAPI CountLoadImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    const HANDLE h = real::loadImage(module, name, type, cx, cy, flags);
    Count(g_shared->iconsLoaded, h && type == IMAGE_ICON && !(flags & LR_SHARED));
    return h;
}
BOOL WINAPI CountDestroyIcon(HICON icon) {
    const BOOL ok = real::destroyIcon(icon);
    Count(g_shared->iconsDestroyed, ok);
    return ok;
}
HDC WINAPI CountGetDC(HWND window) {
    const HDC dc = real::getDC(window);
    Count(g_shared->dcsTaken, dc != nullptr);
    return dc;
}
HDC WINAPI CountGetWindowDC(HWND window) {
    const HDC dc = real::getWindowDC(window);
    Count(g_shared->dcsTaken, dc != nullptr);
    return dc;
}
int WINAPI CountReleaseDC(HWND window, HDC dc) {
    const int ok = real::releaseDC(window, dc);
    Count(g_shared->dcsReleased, ok != 0);
    return ok;
}
ATOM WINAPI CountRegisterClass(const WNDCLASSA* wc) {
    const ATOM atom = real::registerClass(wc);
    Count(g_shared->classesRegistered, atom != 0);
    return atom;
}
HWND WINAPI CountCreateWindow(DWORD ex, LPCSTR cls, LPCSTR name, DWORD style, int x, int y, int w, int h, HWND parent,
                              HMENU menu, HINSTANCE inst, LPVOID param) {
    const HWND window = real::createWindow(ex, cls, name, style, x, y, w, h, parent, menu, inst, param);
    Count(g_shared->windowsCreated, window != nullptr);
    return window;
}
HDC WINAPI CountBeginPaint(HWND window, LPPAINTSTRUCT paint) {
    const HDC dc = real::beginPaint(window, paint);
    Count(g_shared->paints, dc != nullptr);
    return dc;
}

template <typename Fn>
void Wrap(const char* dll, const char* name, Fn& realFn, Fn replacement) {
    if (void* previous = PatchImport(dll, name, reinterpret_cast<void*>(replacement)))
        realFn = reinterpret_cast<Fn>(previous);
}

void CountObjects() {
    Wrap("gdi32.dll", "CreateSolidBrush", real::createSolidBrush, &CountCreateSolidBrush);
    Wrap("gdi32.dll", "DeleteObject", real::deleteObject, &CountDeleteObject);
    Wrap("user32.dll", "LoadImageA", real::loadImage, &CountLoadImage);
    Wrap("user32.dll", "DestroyIcon", real::destroyIcon, &CountDestroyIcon);
    Wrap("user32.dll", "GetDC", real::getDC, &CountGetDC);
    Wrap("user32.dll", "GetWindowDC", real::getWindowDC, &CountGetWindowDC);
    Wrap("user32.dll", "ReleaseDC", real::releaseDC, &CountReleaseDC);
    Wrap("user32.dll", "RegisterClassA", real::registerClass, &CountRegisterClass);
    Wrap("user32.dll", "CreateWindowExA", real::createWindow, &CountCreateWindow);
    Wrap("user32.dll", "BeginPaint", real::beginPaint, &CountBeginPaint);
}

HWND MainWindow() { return FindWindowA("KestruneMainWindow", nullptr); }

LONG ItemState(HMENU menu, UINT command) {
    const UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
    return state == static_cast<UINT>(-1) ? -1 : static_cast<LONG>(state);
}

void DescribeIcon(HWND window, WPARAM which, probe::IconAnswer& out) {
    out = {};
    auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
    if (!icon) return;
    out.present = 1;
    ICONINFO info;
    if (!GetIconInfo(icon, &info)) return;
    BITMAP bm;
    if (GetObjectA(info.hbmMask, sizeof bm, &bm)) {
        out.width = bm.bmWidth;
        out.height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

void Answer(HWND window) {
    probe::Answer& a = g_shared->answer;
    DescribeIcon(window, ICON_BIG, a.bigIcon);
    DescribeIcon(window, ICON_SMALL, a.smallIcon);
    const HMENU menu = GetSystemMenu(window, FALSE);
    a.sizeItemState = ItemState(menu, SC_SIZE);
    a.maximizeItemState = ItemState(menu, SC_MAXIMIZE);
    a.moveItemState = ItemState(menu, SC_MOVE);
    a.minimizeItemState = ItemState(menu, SC_MINIMIZE);
    a.closeItemState = ItemState(menu, SC_CLOSE);
    GetCurrentDirectoryA(sizeof a.currentDirectory, a.currentDirectory);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    a.privateBytes = memory.PagefileUsage;
    a.workingSet = memory.WorkingSetSize;
    const HMODULE planted = LoadLibraryA(probe::kPlantedDll);
    a.plantedDllLoaded = planted != nullptr;
    if (planted) FreeLibrary(planted);
    MemoryBarrier();
    a.serial = g_shared->querySerial;
}

void Activate() {
    char name[128];
    if (!GetEnvironmentVariableA(probe::kMapEnv, name, sizeof name)) return;
    HANDLE map = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
    if (!map) return;
    g_shared = static_cast<probe::Shared*>(MapViewOfFile(map, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(probe::Shared)));
    if (!g_shared) return;
    g_queryMessage = RegisterWindowMessageA(probe::kQueryMessage);
    if (GetEnvironmentVariableA(probe::kShellLogEnv, g_shellLog, sizeof g_shellLog)) {
        // The program binds ShellExecuteA on its first click, through GetProcAddress.
        g_realGetProcAddress = reinterpret_cast<GetProcAddressFn>(
            PatchImport("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&RecordingGetProcAddress)));
    }
    CountObjects();
    GetEnvironmentVariableA(probe::kRefuseClassEnv, g_refuseClass, sizeof g_refuseClass);
    char number[16];
    if (GetEnvironmentVariableA(probe::kFailGetMessageEnv, number, sizeof number)) g_failGetMessageAfter = std::atol(number);
    g_realGetMessage = reinterpret_cast<GetMessageFn>(
        PatchImport("user32.dll", "GetMessageA", reinterpret_cast<void*>(&CountingGetMessage)));
    g_active = true;
    InterlockedExchange(&g_shared->attached, 1);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (g_active && code == HCBT_CREATEWND && g_refuseClass[0]) {
        const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        const char* cls = create->lpszClass;
        if (HIWORD(reinterpret_cast<ULONG_PTR>(cls)) && lstrcmpiA(BaseClassName(cls), g_refuseClass) == 0) {
            g_refuseClass[0] = '\0';  // once only: the error box needs its own windows
            InterlockedIncrement(&g_shared->refusedCreations);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (g_active && code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->message == WM_KEYDOWN && msg->wParam == probe::kFenceKey) InterlockedIncrement(&g_shared->fences);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (g_active && code == HC_ACTION) {
        const CWPSTRUCT* call = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (call->message == g_queryMessage) {
            Answer(call->hwnd);
        } else if (call->message == WM_SHOWWINDOW && call->wParam && call->hwnd == MainWindow()) {
            InterlockedIncrement(&g_shared->mainWindowShown);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        if (HostIsKestrune()) Activate();
    }
    return TRUE;
}
