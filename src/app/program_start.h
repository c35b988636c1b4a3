#pragma once

// Prepares the process, builds and shows the main window and runs the message
// loop. Returns the process exit code: 0 after the window was closed. When the
// window cannot be built it shows the error box and ends the process with -1
// without returning.
int ProgramStart();
