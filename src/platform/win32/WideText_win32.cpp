#include "platform/win32/WideText_win32.h"

#include <windows.h>

namespace quorvel {

// wchar_t is UTF-16 on Windows: the two hold the same code units.
std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string Utf16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

std::string AnsiFromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    std::string ansi(static_cast<std::size_t>(
                         WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr);
    return ansi;
}

std::wstring WideFromAnsi(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string AnsiPath(const std::wstring& path) {
    BOOL lossy = FALSE;
    const int length = static_cast<int>(path.size());
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), length, nullptr, 0, nullptr, &lossy);
    if (!lossy) return AnsiFromWide(path);
    std::wstring shortPath(GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
    const DWORD shortLength = GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (shortLength == 0 || shortLength >= shortPath.size()) return AnsiFromWide(path);
    shortPath.resize(shortLength);
    return AnsiFromWide(shortPath);
}

}  // namespace quorvel
