#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "platform/Libraries.h"
#include "platform/StdCall.h"

namespace quorvel {

// The layout of OSVERSIONINFOEXA, filled by GetVersionExA.
struct OsVersionRecord {
    std::uint32_t size = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;
    char servicePack[128] = {};
    std::uint16_t servicePackMajor = 0;
    std::uint16_t servicePackMinor = 0;
    std::uint16_t suiteMask = 0;
    std::uint8_t productType = 0;
    std::uint8_t reserved = 0;
};
static_assert(sizeof(OsVersionRecord) == 156);

// The layout of SYSTEM_INFO, filled by GetNativeSystemInfo.
struct NativeSystemInfo {
    std::uint16_t processorArchitecture = 0;
    std::uint16_t reserved = 0;
    std::uint32_t pageSize = 0;
    void* minimumApplicationAddress = nullptr;
    void* maximumApplicationAddress = nullptr;
    std::uintptr_t activeProcessorMask = 0;
    std::uint32_t numberOfProcessors = 0;
    std::uint32_t processorType = 0;
    std::uint32_t allocationGranularity = 0;
    std::uint16_t processorLevel = 0;
    std::uint16_t processorRevision = 0;
};

// The two kernel32 exports looked up at run time; null when not found.
struct Kernel32Library {
    using GetVersionExFn = std::int32_t(QUORVEL_WINAPI*)(OsVersionRecord* record);
    using GetNativeSystemInfoFn = void(QUORVEL_WINAPI*)(NativeSystemInfo* info);

    UniqueModule module;
    GetVersionExFn GetVersionExA = nullptr;
    GetNativeSystemInfoFn GetNativeSystemInfo = nullptr;
};

// The running executable and its version resource.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // GetModuleFileNameA of the executable.
    virtual std::string ExecutablePath() = 0;
    // GetFileVersionInfoSizeA; 0 when the file has no version resource.
    virtual std::uint32_t FileVersionInfoSize(const std::string& path) = 0;
    // GetFileVersionInfoA into a block of the given size; absent on failure.
    virtual std::optional<std::vector<std::uint8_t>> FileVersionInfo(const std::string& path, std::uint32_t size) = 0;
    // VerQueryValueA: the bytes of the sub-block (a text's characters for a string entry).
    // The block is not const: the ANSI query may convert texts into the block's spare room.
    virtual std::optional<std::string> QueryVersionValue(std::vector<std::uint8_t>& block,
                                                         const std::string& subBlock) = 0;
};

}  // namespace quorvel
