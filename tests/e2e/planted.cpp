// Stands for a DLL planted beside the program: it does nothing, but the
// probe can tell whether a load by bare name found it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
