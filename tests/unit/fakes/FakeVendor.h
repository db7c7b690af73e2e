#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "fakes/FakeLibraries.h"

namespace quorvel {

// Stand-ins for the makers' libraries. Exports are plain functions, so their state is one
// object that each test resets.
struct FakeVendorState {
    std::vector<std::string> calls;
    std::vector<std::string> cardNames = {"Card A"};
    bool openCardFails = false;
    std::uint32_t deviceCount = 1;
    bool deviceNumFails = false;
    std::deque<std::uint32_t> beholdCodes;    // extended codes, one per poll; 0 when empty
    std::deque<std::int64_t> comproKeys;      // key codes, one per poll; -1 or empty: no key

    static FakeVendorState& Get() {
        static FakeVendorState state;
        return state;
    }
};

namespace fake_vendor {

inline std::uint32_t GetCardCount() {
    FakeVendorState::Get().calls.push_back("GetCardCount");
    return static_cast<std::uint32_t>(FakeVendorState::Get().cardNames.size());
}
inline const char* GetCardName(std::uint32_t index) {
    FakeVendorState::Get().calls.push_back("GetCardName(" + std::to_string(index) + ")");
    return FakeVendorState::Get().cardNames.at(index).c_str();
}
inline std::uint32_t OpenCard(std::uint32_t index) {
    FakeVendorState::Get().calls.push_back("OpenCard(" + std::to_string(index) + ")");
    return FakeVendorState::Get().openCardFails ? 0 : 1;
}
inline std::uint32_t GetRemoteType() {
    FakeVendorState::Get().calls.push_back("GetRemoteType");
    return 7;
}
inline std::uint32_t CurrentBeholdCode() {
    auto& codes = FakeVendorState::Get().beholdCodes;
    return codes.empty() ? 0 : codes.front();
}
inline std::uint32_t GetRemoteCode() {
    FakeVendorState::Get().calls.push_back("GetRemoteCode");
    return CurrentBeholdCode() & 0xFF;
}
inline std::uint32_t GetRemoteCodeEx() {
    FakeVendorState::Get().calls.push_back("GetRemoteCodeEx");
    const std::uint32_t code = CurrentBeholdCode();
    if (!FakeVendorState::Get().beholdCodes.empty()) FakeVendorState::Get().beholdCodes.pop_front();
    return code;
}
inline std::uint32_t UnInit() {
    FakeVendorState::Get().calls.push_back("UnInit");
    return 0;
}
inline std::uint32_t GetDeviceNum(std::uint32_t* count) {
    FakeVendorState::Get().calls.push_back("GetDeviceNum");
    *count = FakeVendorState::Get().deviceCount;
    return FakeVendorState::Get().deviceNumFails ? 0 : 1;
}
inline std::uint32_t GetKeyCode(std::uint32_t* key) {
    FakeVendorState::Get().calls.push_back("GetKeyCode(" + std::to_string(*key) + ")");
    auto& keys = FakeVendorState::Get().comproKeys;
    const std::int64_t next = keys.empty() ? -1 : keys.front();
    if (!keys.empty()) keys.pop_front();
    if (next < 0) return 0;
    *key = static_cast<std::uint32_t>(next);
    return 1;
}
inline std::uint32_t ReleaseResource() {
    FakeVendorState::Get().calls.push_back("ReleaseResource");
    return 0;
}
inline std::uint32_t NeverCalled() {
    FakeVendorState::Get().calls.push_back("unexpected call");
    return 0;
}

template <typename Fn>
void* Address(Fn fn) {
    return reinterpret_cast<void*>(fn);
}

inline void AddBeholdRc(FakeLibraries& libraries) {
    libraries.Add("BeholdRC.dll", {{"GetRemoteCode", Address(&GetRemoteCode)},
                                   {"GetRemoteCodeEx", Address(&GetRemoteCodeEx)},
                                   {"GetCardName", Address(&GetCardName)},
                                   {"OpenCard", Address(&OpenCard)},
                                   {"GetRemoteType", Address(&GetRemoteType)},
                                   {"GetCardCount", Address(&GetCardCount)},
                                   {"UnInit", Address(&UnInit)}});
}
inline void AddRemoteSdk(FakeLibraries& libraries) {
    libraries.Add("RemoteSdk.dll", {{"GetDeviceNum", Address(&GetDeviceNum)},
                                    {"ReleaseResource", Address(&ReleaseResource)},
                                    {"GetKeyCode", Address(&GetKeyCode)},
                                    {"HookMessage", Address(&NeverCalled)},
                                    {"DefineKeyFun", Address(&NeverCalled)}});
}
inline void AddVendorCmdRw(FakeLibraries& libraries) {
    libraries.Add("VendorCmdRW.dll", {{"SendVendorCmd", Address(&NeverCalled)},
                                      {"GetIRCode", Address(&NeverCalled)},
                                      {"GetOneButtonStatus", Address(&NeverCalled)},
                                      {"InitIR", Address(&NeverCalled)}});
}

}  // namespace fake_vendor
}  // namespace quorvel
