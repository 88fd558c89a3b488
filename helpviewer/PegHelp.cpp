// PegHelp.exe: the device's help viewer, standing in for the handheld's own.
//
// Started with "file:<help file>#<topic>" after its own name, it
//   1. appends that command line as one UTF-8 line to its record, C:\windows\temp\PegHelp.log,
//      so that one can see which topics were asked for;
//   2. opens the topic in the host's browser: the help file beside the viewer, handed to the
//      shell as a file:/// URL (Wine passes it to winebrowser, which passes it to xdg-open),
//      by way of a page that forwards to the topic's anchor (see ForwardingPage).
//      PEGHELP_RECORD_ONLY=1 leaves this step out, so test runs start no browser;
//   3. signals the event named by PEGHELP_DONE_EVENT, if there is one, and exits.
// It shows no window and no message box: a topic that cannot be opened is passed over.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value) : std::wstring();
}

// The command line after the program's own name, which ends at the closing quote or the first
// blank (the rule Windows itself applies).
std::wstring Arguments() {
    const wchar_t* p = ::GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p != L'\0' && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}

std::string Utf8(const std::wstring& text) {
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    if (size <= 0) return std::string();
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? FolderOf(path) : std::wstring();
}

std::wstring RecordPath() {
    wchar_t windows[MAX_PATH] = {};
    UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    std::wstring folder = std::wstring(windows) + L"\\temp";
    ::CreateDirectoryW(folder.c_str(), nullptr);  // usually there already
    return folder + L"\\PegHelp.log";
}

// One write per line, in append mode: viewers started close together do not mix their lines.
void Record(const std::wstring& commandLine) {
    std::wstring path = RecordPath();
    if (path.empty()) return;
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string line = Utf8(commandLine + L"\r\n");
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

// Percent-encodes all but letters, digits and - _ . ~ (as UTF-8), for a part of a URL.
std::wstring Encode(const std::wstring& text) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring encoded;
    for (unsigned char c : Utf8(text)) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '_' || c == '.' || c == '~';
        if (plain) {
            encoded += static_cast<wchar_t>(c);
        } else {
            encoded += L'%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

struct CHelpTopic {
    std::wstring m_strHelpFile;  // full path; empty when the file is not there
    std::wstring m_strAnchor;
};

// "file:QovBrumvale.htm#options_game": a bare file name is looked for beside the viewer.
CHelpTopic ParseTopic(const std::wstring& commandLine) {
    std::wstring rest = commandLine;
    if (rest.size() >= 5 && ::CompareStringOrdinal(rest.c_str(), 5, L"file:", 5, TRUE) == CSTR_EQUAL) {
        rest.erase(0, 5);
    }
    size_t hash = rest.find(L'#');
    CHelpTopic topic;
    topic.m_strHelpFile = rest.substr(0, hash);
    if (hash != std::wstring::npos) topic.m_strAnchor = rest.substr(hash + 1);
    if (topic.m_strHelpFile.empty()) return topic;
    if (topic.m_strHelpFile.find_first_of(L"\\/:") == std::wstring::npos)
        topic.m_strHelpFile = OwnFolder() + topic.m_strHelpFile;
    DWORD attributes = ::GetFileAttributesW(topic.m_strHelpFile.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        topic.m_strHelpFile.clear();
    return topic;
}

// Wine hands a file URL to the host's browser only after turning it into a host path, and takes
// a fragment for part of the file name. So the topic is reached through a page without one,
// temp\PegHelp-topic.htm under the help file's folder, which sends the browser on to the help
// file's anchor by a relative link. Empty when the page cannot be written.
std::wstring ForwardingPage(const CHelpTopic& topic) {
    std::wstring folder = FolderOf(topic.m_strHelpFile);
    std::wstring target = L"../" + Encode(topic.m_strHelpFile.substr(folder.size())) + L"#" + Encode(topic.m_strAnchor);
    std::wstring html = L"<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>Help</title>"
                        L"<meta http-equiv=\"refresh\" content=\"0; url=" + target + L"\"></head>\r\n"
                        L"<body><p><a href=\"" + target + L"\">Help</a></p></body></html>\r\n";
    std::string ascii(html.begin(), html.end());  // the link is percent-encoded: ASCII only

    std::wstring pageFolder = folder + L"temp";
    ::CreateDirectoryW(pageFolder.c_str(), nullptr);
    std::wstring page = pageFolder + L"\\PegHelp-topic.htm";
    HANDLE file = ::CreateFileW(page.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::wstring();
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, ascii.data(), static_cast<DWORD>(ascii.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == ascii.size() ? page : std::wstring();
}

// Hands the file to whatever opens HTML documents, as a file URL, and returns at once; no error
// box when nothing can open it.
void Open(const std::wstring& path) {
    wchar_t url[2 * MAX_PATH] = {};
    DWORD length = 2 * MAX_PATH;
    if (FAILED(::UrlCreateFromPathW(path.c_str(), url, &length, 0))) return;
    HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpClass = L"htmlfile";
    info.lpVerb = L"open";
    info.lpFile = url;
    info.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExW(&info);
    if (SUCCEEDED(com)) ::CoUninitialize();
}

void SignalDone() {
    std::wstring name = Environment(L"PEGHELP_DONE_EVENT");
    if (name.empty()) return;
    HANDLE event = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str());
    if (event == nullptr) return;
    ::SetEvent(event);
    ::CloseHandle(event);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        std::wstring commandLine = Arguments();
        Record(commandLine);
        CHelpTopic topic = ParseTopic(commandLine);
        if (!topic.m_strHelpFile.empty() && Environment(L"PEGHELP_RECORD_ONLY") != L"1") {
            std::wstring page = topic.m_strAnchor.empty() ? std::wstring() : ForwardingPage(topic);
            Open(page.empty() ? topic.m_strHelpFile : page);
        }
    } catch (...) {
        // out of memory: nothing more to do, but whoever waits is still told
    }
    SignalDone();
    return 0;
}
