#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "core/Text.h"
#include "fakes/FakeLibraries.h"
#include "platform/SystemInfo.h"

namespace quorvel {

// What the stand-in kernel32 exports report. Exports are plain functions, so their state is
// one object that each test resets.
struct FakeKernel32State {
    OsVersionRecord version;  // the record GetVersionExA fills in, apart from its size field
    std::uint16_t processorArchitecture = 0;
    std::vector<std::uint32_t> sizesSeen;  // the size field of each GetVersionExA call

    static FakeKernel32State& Get() {
        static FakeKernel32State state;
        return state;
    }
    static void Reset() { Get() = FakeKernel32State{}; }
};

namespace fake_kernel32 {

// Like the real call, refuses a record whose size field names neither known layout.
inline std::int32_t QUORVEL_WINAPI GetVersionExA(OsVersionRecord* record) {
    FakeKernel32State& state = FakeKernel32State::Get();
    state.sizesSeen.push_back(record->size);
    if (record->size != sizeof(OsVersionRecord) && record->size != 148) return 0;
    const std::uint32_t size = record->size;
    *record = state.version;
    record->size = size;
    return 1;
}

inline void QUORVEL_WINAPI GetNativeSystemInfo(NativeSystemInfo* info) {
    *info = NativeSystemInfo{};
    info->processorArchitecture = FakeKernel32State::Get().processorArchitecture;
}

}  // namespace fake_kernel32

inline void AddFakeKernel32(FakeLibraries& libraries) {
    libraries.Add("kernel32.dll",
                  {{"GetVersionExA", reinterpret_cast<void*>(&fake_kernel32::GetVersionExA)},
                   {"GetNativeSystemInfo", reinterpret_cast<void*>(&fake_kernel32::GetNativeSystemInfo)}});
}

// An executable with a version resource: the block is handed out by FileVersionInfo and
// only a block obtained that way answers queries; sub-block names match without regard to case.
class FakeSystemInfo final : public SystemInfo {
public:
    std::string executablePath = "C:\\Program Files\\Quorvel\\Quorvel.exe";
    std::map<std::string, std::string> versionValues;  // sub-block -> bytes, keys in lower case
    bool hasVersionResource = true;
    bool readFails = false;
    std::vector<std::string> queries;

    void SetVersionResource(std::uint16_t language, std::uint16_t codePage, const std::string& fileVersion) {
        versionValues.clear();
        const char translation[] = {static_cast<char>(language & 0xFF), static_cast<char>(language >> 8),
                                    static_cast<char>(codePage & 0xFF), static_cast<char>(codePage >> 8)};
        versionValues[Lower("\\VarFileInfo\\Translation")] = std::string(translation, 4);
        const std::string table = "\\StringFileInfo\\" + Hex(language, 4) + Hex(codePage, 4);
        versionValues[Lower(table + "\\FileVersion")] = fileVersion + '\0';
        versionValues[Lower(table + "\\ProductName")] = std::string("Quorvel") + '\0';
    }

    std::string ExecutablePath() override { return executablePath; }
    std::uint32_t FileVersionInfoSize(const std::string& path) override {
        return hasVersionResource && path == executablePath ? kBlockSize : 0;
    }
    std::optional<std::vector<std::uint8_t>> FileVersionInfo(const std::string& path, std::uint32_t size) override {
        if (readFails || path != executablePath || size < kBlockSize) return std::nullopt;
        std::vector<std::uint8_t> block(size, 0);
        block[0] = kBlockMark;
        return block;
    }
    std::optional<std::string> QueryVersionValue(std::vector<std::uint8_t>& block,
                                                 const std::string& subBlock) override {
        queries.push_back(subBlock);
        if (block.size() < kBlockSize || block[0] != kBlockMark) return std::nullopt;
        const auto found = versionValues.find(Lower(subBlock));
        if (found == versionValues.end()) return std::nullopt;
        return found->second;
    }

private:
    static constexpr std::uint32_t kBlockSize = 1024;
    static constexpr std::uint8_t kBlockMark = 0x5A;

    static std::string Lower(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    }
};

}  // namespace quorvel
