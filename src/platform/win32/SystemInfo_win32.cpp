#include "platform/win32/SystemInfo_win32.h"

#include <windows.h>

#include <cstddef>

#include "platform/win32/WideText_win32.h"

namespace quorvel {

// The portable records are handed to the kernel32 exports as they are, so their layout must
// be the system's.
static_assert(sizeof(OsVersionRecord) == sizeof(OSVERSIONINFOEXA));
static_assert(offsetof(OsVersionRecord, majorVersion) == offsetof(OSVERSIONINFOEXA, dwMajorVersion));
static_assert(offsetof(OsVersionRecord, platformId) == offsetof(OSVERSIONINFOEXA, dwPlatformId));
static_assert(offsetof(OsVersionRecord, servicePack) == offsetof(OSVERSIONINFOEXA, szCSDVersion));
static_assert(offsetof(OsVersionRecord, productType) == offsetof(OSVERSIONINFOEXA, wProductType));
static_assert(sizeof(NativeSystemInfo) == sizeof(SYSTEM_INFO));
static_assert(offsetof(NativeSystemInfo, activeProcessorMask) == offsetof(SYSTEM_INFO, dwActiveProcessorMask));
static_assert(offsetof(NativeSystemInfo, processorRevision) == offsetof(SYSTEM_INFO, wProcessorRevision));

std::u16string WideExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return Utf16(path);
        }
        path.resize(path.size() * 2);
    }
}

// The version functions take ANSI paths: a folder whose name the code page cannot hold is
// reached through its short name.
std::string Win32SystemInfo::ExecutablePath() { return AnsiPath(Wide(WideExecutablePath())); }

std::uint32_t Win32SystemInfo::FileVersionInfoSize(const std::string& path) {
    DWORD unused = 0;
    return GetFileVersionInfoSizeA(path.c_str(), &unused);
}

std::optional<std::vector<std::uint8_t>> Win32SystemInfo::FileVersionInfo(const std::string& path,
                                                                          std::uint32_t size) {
    std::vector<std::uint8_t> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::nullopt;
    return block;
}

std::optional<std::string> Win32SystemInfo::QueryVersionValue(std::vector<std::uint8_t>& block,
                                                              const std::string& subBlock) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), subBlock.c_str(), &value, &length) || value == nullptr) return std::nullopt;
    return std::string(static_cast<const char*>(value), length);
}

}  // namespace quorvel
