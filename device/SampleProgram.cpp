// The sample device's stand-in programs: device/make-device.sh installs this one program under
// several names in C:\Program Files, so that the program picker has real programs to offer.
// Started, it says which of them it is (its own file name) and that it is only a stand-in.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring(L"?");
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);

    std::wstring text = L"This is " + name + L", a stand-in program on the sample device.\n\n"
                        L"It does nothing else.";
    ::MessageBoxW(nullptr, text.c_str(), name.c_str(), MB_OK | MB_ICONINFORMATION);
    return 0;
}
