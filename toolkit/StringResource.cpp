#include "toolkit/StringResource.h"

#include "framework/WinApp.h"

std::wstring LoadStringResource(UINT nID) {
    wchar_t buffer[1024];
    int n = ::LoadStringW(AfxGetInstanceHandle(), nID, buffer, 1024);
    if (n <= 0) return {};
    return std::wstring(buffer, static_cast<size_t>(n));
}
