#include "ProbeSteps.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>

namespace quorvel::simprobe {

namespace {

using NoArgumentExport = std::uint32_t(__cdecl*)();
using IndexExport = std::uint32_t(__cdecl*)(std::uint32_t);
using NameExport = const char*(__cdecl*)(std::uint32_t);
using PointerExport = std::uint32_t(__cdecl*)(std::uint32_t*);

constexpr DWORD kPollIntervalMs = 20;
constexpr ULONGLONG kMaxPollingMs = 60000;

const std::set<std::string> kNoArgumentExports = {
    "GetCardCount", "GetRemoteType", "GetRemoteCode", "GetRemoteCodeEx", "UnInit",
    "ReleaseResource", "HookMessage", "DefineKeyFun",
    "SendVendorCmd", "GetIRCode", "GetOneButtonStatus", "InitIR",
};

void Print(const char* format, auto... values) {
    std::printf(format, values...);
    std::fflush(stdout);
}

template <typename Function>
Function Find(HMODULE library, const std::string& name) {
    auto* address = library != nullptr ? GetProcAddress(library, name.c_str()) : nullptr;
    if (address == nullptr) {
        Print("%s missing\n", name.c_str());
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

bool StopRequested(const std::string& stopFile, ULONGLONG started) {
    return GetFileAttributesA(stopFile.c_str()) != INVALID_FILE_ATTRIBUTES ||
           GetTickCount64() - started > kMaxPollingMs;
}

// Polls until the stop file appears (a minute at most), then tells how many polls it made.
void PollUntilStopped(const std::string& stopFile, const std::function<void(std::uint64_t)>& poll) {
    const ULONGLONG started = GetTickCount64();
    std::uint64_t polls = 0;
    while (!StopRequested(stopFile, started)) {
        poll(++polls);
        Sleep(kPollIntervalMs);
    }
    Print("polls %llu\n", static_cast<unsigned long long>(polls));
}

bool BeholderPolls(HMODULE library, const std::string& stopFile) {
    const auto getRemoteCode = Find<NoArgumentExport>(library, "GetRemoteCode");
    const auto getRemoteCodeEx = Find<NoArgumentExport>(library, "GetRemoteCodeEx");
    if (getRemoteCode == nullptr || getRemoteCodeEx == nullptr) {
        return false;
    }
    PollUntilStopped(stopFile, [&](std::uint64_t poll) {
        const std::uint32_t rcCode = getRemoteCode();
        const std::uint32_t extCode = getRemoteCodeEx();
        if (rcCode != 0 || extCode != 0) {
            Print("poll %llu rc=%02X ext=%08X\n", static_cast<unsigned long long>(poll), rcCode, extCode);
        }
    });
    return true;
}

bool ComproPolls(HMODULE library, const std::string& stopFile) {
    const auto getKeyCode = Find<PointerExport>(library, "GetKeyCode");
    if (getKeyCode == nullptr) {
        return false;
    }
    PollUntilStopped(stopFile, [&](std::uint64_t poll) {
        std::uint32_t key = 0;
        if (getKeyCode(&key) != 0) {
            Print("poll %llu key=%08X\n", static_cast<unsigned long long>(poll), key);
        }
    });
    return true;
}

bool CallNoArgument(HMODULE library, const std::string& name) {
    const auto call = Find<NoArgumentExport>(library, name);
    if (call == nullptr) {
        return false;
    }
    Print("%s -> %u\n", name.c_str(), call());
    return true;
}

bool CallWithCount(HMODULE library, const std::string& name, const char* valueName) {
    const auto call = Find<PointerExport>(library, name);
    if (call == nullptr) {
        return false;
    }
    std::uint32_t value = 0;
    const std::uint32_t result = call(&value);
    Print("%s -> %u %s=%08X\n", name.c_str(), result, valueName, value);
    return true;
}

bool CallWithIndex(HMODULE library, const std::string& name, std::uint32_t index) {
    if (name == "GetCardName") {
        const auto call = Find<NameExport>(library, name);
        if (call == nullptr) {
            return false;
        }
        const char* cardName = call(index);
        if (cardName == nullptr) {
            Print("GetCardName(%u) -> null\n", index);
        } else {
            Print("GetCardName(%u) -> \"%s\"\n", index, cardName);
        }
        return true;
    }
    const auto call = Find<IndexExport>(library, name);
    if (call == nullptr) {
        return false;
    }
    Print("%s(%u) -> %u\n", name.c_str(), index, call(index));
    return true;
}

}  // namespace

bool RunStep(HMODULE& library, const std::string& step) {
    const std::size_t colon = step.find(':');
    const std::string name = step.substr(0, colon);
    const std::string argument = colon == std::string::npos ? "" : step.substr(colon + 1);
    if (colon == std::string::npos) {
        if (kNoArgumentExports.count(name) != 0) {
            return CallNoArgument(library, name);
        }
        if (name == "GetDeviceNum") {
            return CallWithCount(library, name, "count");
        }
        if (name == "GetKeyCode") {
            return CallWithCount(library, name, "key");
        }
        if (name == "free") {
            Print("free -> %d\n", FreeLibrary(library) ? 1 : 0);
            library = nullptr;
            return true;
        }
    } else if (name == "GetCardName" || name == "OpenCard") {
        return CallWithIndex(library, name, static_cast<std::uint32_t>(std::strtoul(argument.c_str(), nullptr, 0)));
    } else if (name == "resolve") {
        const bool found = library != nullptr && GetProcAddress(library, argument.c_str()) != nullptr;
        Print("resolve %s %s\n", argument.c_str(), found ? "found" : "missing");
        return true;
    } else if (name == "beholder-polls") {
        return BeholderPolls(library, argument);
    } else if (name == "compro-polls") {
        return ComproPolls(library, argument);
    } else if (name == "sleep") {
        Sleep(std::strtoul(argument.c_str(), nullptr, 10));
        return true;
    }
    Print("unknown step %s\n", step.c_str());
    return false;
}

}  // namespace quorvel::simprobe
