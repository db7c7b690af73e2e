#include "platform/win32/FileLog_win32.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdio>

#include "platform/win32/Win32Handles.h"

namespace quorvel {

// Wide paths, so that a user name of any letters has its log.
Win32LogFiles::Win32LogFiles() {
    wchar_t folder[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder) != S_OK) return;
    const std::wstring own = std::wstring(folder) + L"\\Quorvel";
    CreateDirectoryW(own.c_str(), nullptr);
    path_ = own + L"\\Quorvel.log";
    olderPath_ = own + L"\\Quorvel.old.log";
}

void Win32LogFiles::Debug(const std::string& line) { OutputDebugStringA(line.c_str()); }

std::string Win32LogFiles::Timestamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

std::uint64_t Win32LogFiles::Size() {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path_.empty() || !GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

bool Win32LogFiles::Append(const std::string& text) {
    if (path_.empty()) return false;
    // Opened for each line, so that a reader may move or delete the file at any time.
    const UniqueFile file(CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

void Win32LogFiles::StartNewFile() {
    if (!path_.empty()) MoveFileExW(path_.c_str(), olderPath_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string LastErrorText(const std::string& call) { return Win32ErrorText(call, GetLastError()); }

std::string SystemErrorText(unsigned long code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length && text ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

std::string Win32ErrorText(const std::string& call, unsigned long code) {
    const std::string message = SystemErrorText(code);
    return call + " failed: error " + std::to_string(code) + (message.empty() ? "" : ": " + message);
}

}  // namespace quorvel
