#include "harness.h"

#include <cstdio>
#include <fstream>
#include <optional>

namespace kt {

namespace {

std::string Parent(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(0, cut);
}

HOOKPROC HookProc(HMODULE dll, const char* name) {
    return reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

struct WindowSearch {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == s->pid && (!s->visibleOnly || IsWindowVisible(w))) s->found.push_back(w);
    return TRUE;
}

void SendOne(INPUT input) { SendInput(1, &input, sizeof input); }

INPUT MouseInput(POINT screen, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    // Absolute coordinates on every event: without them Wine may deliver a
    // button event at the previous cursor position. Rounded up, so that the
    // system's truncating conversion back lands on the very pixel.
    in.mi.dx = static_cast<LONG>((screen.x * 65536LL + w - 1) / w);
    in.mi.dy = static_cast<LONG>((screen.y * 65536LL + h - 1) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
}

}  // namespace

std::string DriverFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return Parent(path);
}

std::string KestrunePath() {
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("KT_KESTRUNE", path, MAX_PATH)) return path;
    return Parent(Parent(DriverFolder())) + "\\kestrune.exe";  // build/tests/e2e -> build
}

std::string TempFolder() {
    static int counter;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    // Process ids repeat from one run of the bed to the next: only a folder
    // this call created itself is known to be empty.
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%skt-%lu-%d", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return name;
    }
}

int ReportExitCode(int code) {
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("KT_EXIT_FILE", path, MAX_PATH)) {
        if (FILE* f = std::fopen(path, "w")) {
            std::fprintf(f, "%d\n", code);
            std::fclose(f);
        }
    }
    return code;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool WaitFor(const std::function<bool()>& condition, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition()) return true;
        if (GetTickCount() - start > ms) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

Probe::Probe() {
    char name[64];
    std::snprintf(name, sizeof name, "KestruneProbe-%lu", GetCurrentProcessId());
    mapName_ = name;
    map_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(probe::Shared), name);
    shared_ = static_cast<probe::Shared*>(MapViewOfFile(map_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(probe::Shared)));
    ZeroMemory(shared_, sizeof *shared_);
    dll_ = LoadLibraryA((DriverFolder() + "\\kestrune_probe.dll").c_str());
    if (!dll_) return;
    hooks_[0] = SetWindowsHookExA(WH_CBT, HookProc(dll_, "ProbeCbt"), dll_, 0);
    hooks_[1] = SetWindowsHookExA(WH_GETMESSAGE, HookProc(dll_, "ProbeGetMessage"), dll_, 0);
    hooks_[2] = SetWindowsHookExA(WH_CALLWNDPROC, HookProc(dll_, "ProbeCallWndProc"), dll_, 0);
}

Probe::~Probe() {
    for (HHOOK hook : hooks_)
        if (hook) UnhookWindowsHookEx(hook);
    if (shared_) UnmapViewOfFile(shared_);
    if (map_) CloseHandle(map_);
    if (dll_) FreeLibrary(dll_);
}

bool Probe::Query(HWND mainWindow, probe::Answer& out) {
    const LONG serial = InterlockedIncrement(&shared_->querySerial);
    DWORD_PTR ignored;
    SendMessageTimeoutA(mainWindow, RegisterWindowMessageA(probe::kQueryMessage), 0, 0, SMTO_NORMAL, 5000, &ignored);
    if (!WaitFor([&] { return shared_->answer.serial == serial; }, 5000)) return false;
    MemoryBarrier();
    out = shared_->answer;
    return true;
}

Program::Program(const LaunchOptions& options) {
    std::string exe = options.exe.empty() ? KestrunePath() : options.exe;
    std::vector<std::pair<std::string, std::string>> env = options.env;
    if (options.probe) env.emplace_back(probe::kMapEnv, options.probe->mapName());
    // The child inherits the driver's environment with these additions.
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    for (const auto& [name, value] : env) {
        char old[1024];
        const DWORD n = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
        saved.emplace_back(name, n ? std::optional<std::string>(old) : std::nullopt);
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + exe + "\"";
    const char* folder = options.workingFolder.empty() ? nullptr : options.workingFolder.c_str();
    if (CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &si, &pi)) {
        process_ = pi.hProcess;
        pid_ = pi.dwProcessId;
        thread_ = pi.dwThreadId;
        CloseHandle(pi.hThread);
    }
    for (const auto& [name, value] : saved) SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
}

Program::~Program() {
    if (!process_) return;
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool Program::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

HWND Program::WaitForWindow(DWORD ms) {
    WaitFor([&] { return (window_ = ShownWindow(pid_, 4)) != nullptr; }, ms);
    return window_;
}

DWORD Program::WaitForExit(DWORD ms) {
    if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<HWND> TopLevelWindows(DWORD pid, bool visibleOnly) {
    WindowSearch search{pid, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ShownWindow(DWORD pid, size_t children) {
    for (HWND w : TopLevelWindows(pid)) {
        const auto kids = Children(w);
        if (kids.size() != children) continue;
        bool allVisible = true;
        for (HWND k : kids) allVisible = allVisible && IsWindowVisible(k);
        if (allVisible) return w;
    }
    return nullptr;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> found;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) found.push_back(c);
    return found;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

HWND ActiveOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndActive : nullptr;
}

void Key(WORD vk, bool down) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendOne(in);
}

void Tap(WORD vk, unsigned mods) {
    if (mods & kCtrl) Key(VK_CONTROL, true);
    if (mods & kShift) Key(VK_SHIFT, true);
    if (mods & kAlt) Key(VK_MENU, true);
    Key(vk, true);
    Key(vk, false);
    if (mods & kAlt) Key(VK_MENU, false);
    if (mods & kShift) Key(VK_SHIFT, false);
    if (mods & kCtrl) Key(VK_CONTROL, false);
}

void TypeUnicode(const std::wstring& text) {
    for (wchar_t ch : text) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = ch;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        SendOne(in);
        in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendOne(in);
    }
}

void MouseMove(POINT screen) { SendOne(MouseInput(screen, 0)); }

void MouseButton(POINT screen, bool right, bool down) {
    const DWORD flags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                              : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendOne(MouseInput(screen, flags));
}

void Click(POINT screen, bool right) {
    MouseMove(screen);
    MouseButton(screen, right, true);
    MouseButton(screen, right, false);
}

void DoubleClick(POINT screen) {
    Click(screen);
    Click(screen);
}

bool Fence(Probe& probe, DWORD ms) {
    const LONG before = probe.shared().fences;
    Tap(probe::kFenceKey);
    return WaitFor([&] { return probe.shared().fences > before; }, ms);
}

void PaintNow(HWND window) {
    // RDW_UPDATENOW sends WM_PAINT to the other thread and waits for it.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    return p;
}

POINT CentreOf(HWND window) {
    const RECT r = WindowRectOf(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool FindOnCaption(HWND window, LRESULT hit, POINT& at) {
    const RECT r = WindowRectOf(window);
    const RECT client = ClientRectOnScreen(window);
    const int y = (r.top + client.top) / 2;
    for (int x = r.right - 1; x > r.left; --x) {
        DWORD_PTR result = HTNOWHERE;
        SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 2000, &result);
        if (static_cast<LRESULT>(result) == hit) {
            at = {x - 2, y};
            return true;
        }
    }
    return false;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

RECT WindowRectOf(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientRectOnScreen(HWND window) {
    RECT r = {};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

Capture CaptureScreen(const RECT& area) {
    Capture c;
    c.width = area.right - area.left;
    c.height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = c.width;
    bi.bmiHeader.biHeight = -c.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, c.width, c.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const DWORD*>(bits);
    c.pixels.resize(static_cast<size_t>(c.width) * c.height);
    for (size_t i = 0; i < c.pixels.size(); ++i) {
        const DWORD bgrx = p[i];
        c.pixels[i] = RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

bool SaveBitmap(const Capture& c, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const DWORD rowBytes = (static_cast<DWORD>(c.width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + rowBytes * c.height;
    ih.biSize = sizeof ih;
    ih.biWidth = c.width;
    ih.biHeight = c.height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = c.height - 1; y >= 0; --y) {
        for (int x = 0; x < c.width; ++x) {
            const COLORREF px = c.at(x, y);
            row[x * 3] = GetBValue(px);
            row[x * 3 + 1] = GetGValue(px);
            row[x * 3 + 2] = GetRValue(px);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0;
}

}  // namespace kt
