// Starting the device's help viewer from a test and reading what it recorded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace helpviewer_test {


// Sets an environment variable (which the viewer inherits) until the end of the scope.
class CScopedVariable {
public:
    CScopedVariable(const wchar_t* name, const wchar_t* value) : m_name(name) {
        wchar_t old[1024] = {};
        DWORD length = ::GetEnvironmentVariableW(name, old, 1024);
        m_hadValue = length > 0 && length < 1024;
        if (m_hadValue) m_old = old;
        ::SetEnvironmentVariableW(name, value);
    }
    ~CScopedVariable() { ::SetEnvironmentVariableW(m_name.c_str(), m_hadValue ? m_old.c_str() : nullptr); }

private:
    std::wstring m_name, m_old;
    bool m_hadValue = false;
};

inline std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

// A UTF-8 file's text from byte offset on; empty when there is no file.
inline std::wstring ReadText(const std::wstring& path, LONGLONG offset = 0) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::wstring();
    LARGE_INTEGER start{};
    start.QuadPart = offset;
    ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(file);
    return Utf8ToWide(bytes);
}

// The lines of a record from byte offset on; a last line without its line end is marked.
inline std::vector<std::wstring> ReadRecord(const std::wstring& path, LONGLONG offset = 0) {
    std::wstring text = ReadText(path, offset);
    std::vector<std::wstring> lines;
    size_t begin = 0, end;
    while ((end = text.find(L"\r\n", begin)) != std::wstring::npos) {
        lines.push_back(text.substr(begin, end - begin));
        begin = end + 2;
    }
    if (begin < text.size()) lines.push_back(text.substr(begin) + L"<unterminated>");
    return lines;
}

inline LONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// C:\windows on the device, where the viewer and the help file are installed.
inline std::wstring WindowsFolder() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return windows;
}

// One start of the viewer that the test can wait for: the viewer signals an event of the
// test's own when it is done, opens no browser, and by default records into a file of the
// test's own (so the test reads only its own lines).
class CViewerRun {
public:
    explicit CViewerRun(bool ownRecord = true)
        : m_id(NextId()),
          m_eventName(L"PegHelpDone-" + m_id),
          m_recordPath(ownRecord ? TempFolder() + L"PegHelp-" + m_id + L".log" : DefaultRecordPath()),
          m_ownRecord(ownRecord),
          m_doneEvent(L"PEGHELP_DONE_EVENT", m_eventName.c_str()),
          m_recordOnly(L"PEGHELP_RECORD_ONLY", L"1"),
          m_record(L"PEGHELP_LOG", ownRecord ? m_recordPath.c_str() : nullptr) {
        m_event = ::CreateEventW(nullptr, FALSE, FALSE, m_eventName.c_str());
        if (m_ownRecord) ::DeleteFileW(m_recordPath.c_str());
        m_offset = FileSize(m_recordPath);
    }
    ~CViewerRun() {
        if (m_event != nullptr) ::CloseHandle(m_event);
        if (m_ownRecord) ::DeleteFileW(m_recordPath.c_str());
    }
    CViewerRun(const CViewerRun&) = delete;
    CViewerRun& operator=(const CViewerRun&) = delete;

    // True once the viewer has finished; a timeout means it never ran.
    bool WaitDone() const { return m_event != nullptr && ::WaitForSingleObject(m_event, 30000) == WAIT_OBJECT_0; }
    // The lines recorded since this run began.
    std::vector<std::wstring> Recorded() const { return ReadRecord(m_recordPath, m_offset); }

    static std::wstring DefaultRecordPath() { return WindowsFolder() + L"\\temp\\PegHelp.log"; }

private:
    static std::wstring NextId() {
        static int count = 0;
        return std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    }
    static std::wstring TempFolder() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        return temp;
    }

    std::wstring m_id, m_eventName, m_recordPath;
    bool m_ownRecord;
    CScopedVariable m_doneEvent, m_recordOnly, m_record;
    HANDLE m_event = nullptr;
    LONGLONG m_offset = 0;
};

}  // namespace helpviewer_test
