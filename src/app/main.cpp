// The process entry. The program reads no command line, has no global
// objects to construct and no thread-local data, so it needs none of the C
// runtime's start-up code: the entry runs the program and ends the process
// with its exit code.
#include <windows.h>

#include "app/program_start.h"

extern "C" void WinMainCRTStartup() { ExitProcess(static_cast<UINT>(ProgramStart())); }
