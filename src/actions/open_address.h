#pragma once

// Asks the Windows shell to open `address` with its default handler (for a
// web address, the default browser) and returns at once. The result is not
// looked at: a failure shows nothing and changes nothing.
void OpenAddress(const char* address);
