#include "actions/open_address.h"

#include <windows.h>
#include <shellapi.h>

namespace {

// Searched anew on every call; the handle is only ever used as the owner of
// whatever the shell shows.
constexpr char kOwnerTitle[] = "Microsoft Internet Explorer";

}  // namespace

void OpenAddress(const char* address) {
    const HWND owner = FindWindowExA(nullptr, nullptr, nullptr, kOwnerTitle);
    ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}
