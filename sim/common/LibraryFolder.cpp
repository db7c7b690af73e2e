#include "LibraryFolder.h"

#include <windows.h>

namespace quorvel::sim {

std::string LibraryPath() {
    // The allocation holding this code is the library's image; GetModuleHandleEx, which would
    // say so directly, is missing before Windows XP.
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(reinterpret_cast<const void*>(&LibraryPath), &region, sizeof region) == 0) return {};
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(static_cast<HMODULE>(region.AllocationBase), path, MAX_PATH);
    return std::string(path, length);
}

std::string LibraryFolder() {
    const std::string file = LibraryPath();
    return file.substr(0, file.find_last_of("\\/") + 1);
}

}  // namespace quorvel::sim
