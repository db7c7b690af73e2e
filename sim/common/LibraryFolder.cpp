#include "LibraryFolder.h"

#include <windows.h>

#include "platform/Paths.h"

namespace quorvel::sim {

std::string LibraryPath() {
    // The allocation holding this code is the library's image; GetModuleHandleEx, which would
    // say so directly, is missing before Windows XP.
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(reinterpret_cast<const void*>(&LibraryPath), &region, sizeof region) == 0) return {};
    wchar_t path[MAX_PATH] = {};
    if (GetModuleFileNameW(static_cast<HMODULE>(region.AllocationBase), path, MAX_PATH) == 0) return {};
    // The library's files are reached through the ANSI functions: its short path holds a
    // folder of any name in letters the code page has.
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD shortLength = GetShortPathNameW(path, shortPath, MAX_PATH);
    const wchar_t* const usable = shortLength > 0 && shortLength < MAX_PATH ? shortPath : path;
    char ansi[MAX_PATH * 2] = {};
    const int length = WideCharToMultiByte(CP_ACP, 0, usable, -1, ansi, sizeof ansi, nullptr, nullptr);
    return length > 0 ? std::string(ansi, static_cast<std::size_t>(length - 1)) : std::string();
}

std::string LibraryFolder() {
    return std::string(SplitPath(LibraryPath()).folder);
}

}  // namespace quorvel::sim
