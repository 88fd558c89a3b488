#include "shell/InputPanel.h"

#include <unordered_map>

namespace {
// Window -> its last request. A handle may be reused by a later window, which then starts
// with the old window's answer until it asks for itself; only tests read it.
std::unordered_map<HWND, int>& LastRequests() {
    static std::unordered_map<HWND, int> requests;
    return requests;
}
}  // namespace

BOOL SHSipPreference(HWND hWnd, SIPSTATE st) {
    if (hWnd == nullptr) return FALSE;
    LastRequests()[hWnd] = st;
    return TRUE;
}

int GetLastSipRequest(HWND hWnd) {
    auto it = LastRequests().find(hWnd);
    return it == LastRequests().end() ? -1 : it->second;
}
