#pragma once
// Finds the folder part of the executable's path so that the program can run
// from its own folder whatever folder it was started from.
#include <cstddef>

using LeadBytePredicate = bool (*)(unsigned char);

// Index of the last path separator in `path[0, length)`, or -1 when there is
// none. Double-byte characters are stepped over whole, so a trail byte 0x5C
// (as in GBK 81 5C) is never taken for a backslash.
int LastBackslash(const char* path, size_t length, LeadBytePredicate isLeadByte);

// Cuts the module path held in `buffer` down to its folder, in place.
// `copied` is what GetModuleFileNameA returned for a buffer of `capacity`
// bytes. Returns false, leaving nothing to use, when the path was cut short
// (copied == capacity) or holds no backslash. A drive root keeps its
// backslash ("C:\"), since "C:" alone names the drive's current folder.
bool CutToFolder(char* buffer, size_t copied, size_t capacity, LeadBytePredicate isLeadByte);
