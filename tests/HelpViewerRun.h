// Starting the device's help viewer from a test and reading what it recorded.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace helpviewer_test {

// A UTF-8 file's text; empty when there is no file.
inline std::wstring ReadText(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::wstring text(bytes.size(), L'\0');  // never more characters than bytes
    text.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                          text.data(), static_cast<int>(text.size()))));
    return text;
}

// One start of the viewer that the test can wait for: the viewer records into a file of the
// test's own (so the test reads only its own lines) and signals the test's event when done.
// The test program has already told it to open no browser.
class CViewerRun {
public:
    CViewerRun() {
        static int count = 0;
        std::wstring id = std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_recordPath = std::wstring(temp) + L"PegHelp-" + id + L".log";
        ::DeleteFileW(m_recordPath.c_str());
        std::wstring eventName = L"PegHelpDone-" + id;
        m_event = ::CreateEventW(nullptr, FALSE, FALSE, eventName.c_str());
        ::SetEnvironmentVariableW(L"PEGHELP_DONE_EVENT", eventName.c_str());
        ::SetEnvironmentVariableW(L"PEGHELP_LOG", m_recordPath.c_str());
    }
    ~CViewerRun() {
        ::SetEnvironmentVariableW(L"PEGHELP_DONE_EVENT", nullptr);
        ::SetEnvironmentVariableW(L"PEGHELP_LOG", nullptr);
        if (m_event != nullptr) ::CloseHandle(m_event);
        ::DeleteFileW(m_recordPath.c_str());
    }

    // True once the viewer has finished (once per start); a timeout means it never ran.
    bool WaitDone() const { return m_event != nullptr && ::WaitForSingleObject(m_event, 30000) == WAIT_OBJECT_0; }
    // Everything recorded so far, each command line ended by CR LF.
    std::wstring Recorded() const { return ReadText(m_recordPath); }

private:
    std::wstring m_recordPath;
    HANDLE m_event = nullptr;
};

}  // namespace helpviewer_test
