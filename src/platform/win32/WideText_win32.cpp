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

// Each byte of the code page is folded as the system folds its character: a byte that is no
// character, or whose upper case the code page cannot hold in one byte, stays as it is, so
// the conversions failing here is no fault.
LetterCase SystemLetterCase() {
    LetterCase rules;
    for (int byte = 1; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        if (IsDBCSLeadByte(static_cast<BYTE>(byte))) {
            rules.SetLeadByte(c);
            continue;
        }
        wchar_t wide = 0;
        if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &c, 1, &wide, 1) != 1) continue;
        CharUpperBuffW(&wide, 1);
        char upper[2] = {};
        if (WideCharToMultiByte(CP_ACP, 0, &wide, 1, upper, sizeof upper, nullptr, nullptr) != 1) continue;
        wchar_t back = 0;
        if (MultiByteToWideChar(CP_ACP, 0, upper, 1, &back, 1) == 1 && back == wide) rules.SetUpper(c, upper[0]);
    }
    return rules;
}

}  // namespace quorvel
