#include "app/exe_folder.h"

int LastBackslash(const char* path, size_t length, LeadBytePredicate isLeadByte) {
    int last = -1;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(path[i]);
        if (isLeadByte(byte) && i + 1 < length) {
            ++i;  // the trail byte belongs to this character
        } else if (byte == '\\') {
            last = static_cast<int>(i);
        }
    }
    return last;
}

bool CutToFolder(char* buffer, size_t copied, size_t capacity, LeadBytePredicate isLeadByte) {
    if (copied == 0 || copied >= capacity) return false;
    const int cut = LastBackslash(buffer, copied, isLeadByte);
    if (cut < 0) return false;
    const bool driveRoot = cut == 2 && buffer[1] == ':';
    buffer[driveRoot ? cut + 1 : cut] = '\0';
    return true;
}
