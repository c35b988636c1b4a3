// Measures kestrune.exe against the floor, bare.exe, in one Wine virtual
// desktop with one warm wineserver: start-up until the window and its
// children are visible and painted (wall time and the process's own CPU
// time), close until exit, peak working set, file size, and kestrune's own
// CPU per click. The two programs alternate, A B A B, after a warm-up.
//   bench_driver.exe KESTRUNE.EXE BARE.EXE PAIRS CLICKS STUB_LOG
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using namespace kt;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000.0 / frequency.QuadPart;
}

std::string ReadSmallFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char buffer[4096];
    DWORD got = 0;
    ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    return std::string(buffer, got);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A Wine process is a Unix process whose command line is its Windows path;
// the kernel's scheduler statistics give its CPU time to the nanosecond.
class UnixCpu {
public:
    bool Find(const std::string& exeName) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        const std::string wanted = Lower(exeName);
        do {
            if (!std::isdigit(static_cast<unsigned char>(found.cFileName[0]))) continue;
            const std::string dir = std::string("Z:\\proc\\") + found.cFileName;
            const std::string cmdline = Lower(ReadSmallFile(dir + "\\cmdline"));
            const size_t at = cmdline.find(wanted);
            if (at != std::string::npos && at + wanted.size() == cmdline.find('\0')) dir_ = dir;
        } while (!dir_.size() && FindNextFileA(search, &found));
        FindClose(search);
        return !dir_.empty();
    }

    // CPU time of all its threads so far, in milliseconds.
    double Milliseconds() const {
        double total = 0;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir_ + "\\task\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return -1;
        do {
            if (!std::isdigit(static_cast<unsigned char>(found.cFileName[0]))) continue;
            total += std::atof(ReadSmallFile(dir_ + "\\task\\" + found.cFileName + "\\schedstat").c_str()) / 1e6;
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return total;
    }

private:
    std::string dir_;
};

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

struct Run {
    double startWall = 0, startCpu = 0, close = 0, peakKiB = 0;
    bool ok = false;
};

Run Measure(const std::string& exe, size_t children) {
    Run run;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + exe + "\"";
    const double t0 = Now();
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return run;
    UnixCpu cpu;
    HWND window = nullptr;
    // Visible, then idle: the thread waits for input with nothing left to
    // paint.
    while (!window && Now() - t0 < 10000) {
        window = ShownWindow(pi.dwProcessId, children);
        if (!window) Sleep(0);
    }
    if (window && WaitForInputIdle(pi.hProcess, 10000) == 0) {
        run.startWall = Now() - t0;
        run.ok = cpu.Find(BaseName(exe));
        run.startCpu = cpu.Milliseconds();
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory);
        run.peakKiB = memory.PeakWorkingSetSize / 1024.0;
        const double t1 = Now();
        PostMessageA(window, WM_CLOSE, 0, 0);
        run.ok = run.ok && WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
        run.close = Now() - t1;
    }
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

struct Stats {
    double median, min, max;
};

Stats Of(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

void PrintRow(const char* figure, const std::vector<double>& a, const std::vector<double>& b, bool ratio) {
    const Stats sa = Of(a), sb = Of(b);
    std::printf("%-26s %10.2f %10.2f %10.2f   %10.2f %10.2f %10.2f", figure, sa.median, sa.min, sa.max, sb.median,
                sb.min, sb.max);
    if (ratio) {
        std::vector<double> ratios;
        for (size_t i = 0; i < a.size(); ++i) ratios.push_back(a[i] / b[i]);
        std::printf("   %7.3fx", Of(ratios).median);
    }
    std::printf("\n");
}

long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? static_cast<long>(data.nFileSizeLow) : -1;
}

// Kestrune's own CPU for each of `clicks` clicks, the buttons taking turns;
// the shell hands each address to a stub that exits at once.
std::vector<double> ClickCosts(const std::string& exe, int clicks, const std::string& stubLog) {
    std::vector<double> costs;
    DeleteFileA(stubLog.c_str());
    SetEnvironmentVariableA("KESTRUNE_BENCH_STUB_LOG", stubLog.c_str());
    LaunchOptions options;
    options.exe = exe;
    Program program(options);
    const HWND window = program.WaitForWindow();
    UnixCpu cpu;
    if (!window || !cpu.Find(BaseName(exe)) || !WaitFor([&] { return GetForegroundWindow() == window; })) return costs;
    const auto children = Children(window);
    const int warmUp = 4;
    for (int i = 0; i < warmUp + clicks; ++i) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        const double before = cpu.Milliseconds();
        Click(CentreOf(children[i % 2]));  // 按钮2, 按钮1, ...
        // The stub ran, and the program is back in its loop.
        if (!WaitFor([&] { return ReadSmallFile(stubLog).size() == static_cast<size_t>(i + 1); }, 20000)) break;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        if (i >= warmUp) costs.push_back(cpu.Milliseconds() - before);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    program.WaitForExit();
    return costs;
}

}  // namespace

int Bench(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: bench_driver KESTRUNE.EXE BARE.EXE PAIRS CLICKS STUB_LOG\n");
        return 2;
    }
    const std::string kestrune = argv[1], bare = argv[2], stubLog = argv[5];
    const int pairs = std::atoi(argv[3]), clicks = std::atoi(argv[4]), warmUp = 3;
    std::vector<double> wallK, wallB, cpuK, cpuB, closeK, closeB, peakK, peakB;
    for (int i = 0; i < warmUp + pairs; ++i) {
        const Run k = Measure(kestrune, 4);
        const Run b = Measure(bare, 0);
        if (!k.ok || !b.ok) {
            std::fprintf(stderr, "run %d failed (kestrune %d, bare %d)\n", i, k.ok, b.ok);
            return 1;
        }
        if (i < warmUp) continue;
        wallK.push_back(k.startWall), wallB.push_back(b.startWall);
        cpuK.push_back(k.startCpu), cpuB.push_back(b.startCpu);
        closeK.push_back(k.close), closeB.push_back(b.close);
        peakK.push_back(k.peakKiB), peakB.push_back(b.peakKiB);
    }
    const std::vector<double> clickCosts = ClickCosts(kestrune, clicks, stubLog);

    std::printf("%d measured pairs (A B A B ...) after %d warm-up pairs; kestrune = A, bare = B\n\n", pairs, warmUp);
    std::printf("%-26s %32s   %32s   %s\n", "", "kestrune: median min max", "bare: median min max",
                "median of pair ratios");
    PrintRow("start-up, wall (ms)", wallK, wallB, true);
    PrintRow("start-up, own CPU (ms)", cpuK, cpuB, true);
    PrintRow("close until exit (ms)", closeK, closeB, true);
    PrintRow("peak working set (KiB)", peakK, peakB, true);
    const double sizeK = FileSize(kestrune), sizeB = FileSize(bare);
    std::printf("%-26s %10.0f %32s %10.0f   %7.3fx\n", "file size (bytes)", sizeK, "", sizeB, sizeK / sizeB);
    if (clickCosts.empty()) {
        std::printf("own CPU per click: not measured (the stub browser did not run)\n");
        return 1;
    }
    const Stats c = Of(clickCosts);
    std::printf("%-26s %10.2f %10.2f %10.2f   (%zu clicks, kestrune only)\n", "own CPU per click (ms)", c.median,
                c.min, c.max, clickCosts.size());
    std::printf("\nWall-clock start-up varies by about 15%% between runs on this kind of machine;\n"
                "the CPU and memory figures are the steadier ones.\n");
    return 0;
}

int main(int argc, char** argv) { return ReportExitCode(Bench(argc, argv)); }
