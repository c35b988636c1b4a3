#pragma once
// What the probe DLL, loaded into the program under test by a global hook,
// shares with the test driver: counters in a named file mapping, and the
// answers to the driver's queries.
#include <windows.h>

namespace probe {

// Environment of the program under test (inherited from the driver).
constexpr char kMapEnv[] = "KT_PROBE_MAP";            // name of the shared mapping
constexpr char kShellLogEnv[] = "KT_SHELL_LOG";       // record ShellExecuteA calls here instead of making them
constexpr char kRefuseClassEnv[] = "KT_REFUSE_CLASS"; // refuse the first creation of a window of this class
constexpr char kFailGetMessageEnv[] = "KT_FAIL_GETMESSAGE_AFTER";  // GetMessageA fails after N calls

// Pressing this key is a fence: the probe counts it when the program takes
// it from its queue, after all input sent before it.
constexpr WORD kFenceKey = VK_F24;

// A harmless DLL a test puts beside the program, as a planted DLL would be.
constexpr char kPlantedDll[] = "kestrune_planted.dll";

// Sent to the main window: the probe fills `answer` from inside the process.
constexpr char kQueryMessage[] = "KestruneProbeQuery";

struct IconAnswer {
    LONG present, width, height;
};

struct Answer {
    LONG serial;  // the query number the answer belongs to
    IconAnswer bigIcon, smallIcon;
    LONG sizeItemState, maximizeItemState, moveItemState, minimizeItemState, closeItemState;  // GetMenuState, or -1
    char currentDirectory[MAX_PATH * 2];
    LONG plantedDllLoaded;
    ULONG_PTR privateBytes, workingSet;  // GetProcessMemoryInfo of the program itself  // LoadLibraryA by bare name found kPlantedDll beside the program
};

struct Shared {
    volatile LONG attached;           // the probe is live in the program
    volatile LONG fences;             // fence keys taken from the queue
    volatile LONG shellCalls;         // ShellExecuteA calls recorded
    volatile LONG mainWindowShown;    // the main window was shown
    volatile LONG refusedCreations;   // windows refused by the CBT hook
    volatile LONG getMessageCalls;    // the program's own GetMessageA calls: its loop
    volatile LONG getMessageFailures; // GetMessageA failures handed to the program
    volatile LONG querySerial;        // set by the driver before a query
    // The program's own calls, counted by wrapping its imports.
    volatile LONG brushesCreated, gdiObjectsDeleted;
    volatile LONG iconsLoaded, iconsDestroyed;
    volatile LONG dcsTaken, dcsReleased;
    volatile LONG classesRegistered, windowsCreated;
    volatile LONG paints;
    Answer answer;
};

}  // namespace probe
