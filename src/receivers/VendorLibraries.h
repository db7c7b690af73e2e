#pragma once

#include <cstdint>
#include <string>

#include "platform/Handles.h"
#include "platform/Libraries.h"

// The makers' exports take their one argument on the stack and the caller removes it.
#if defined(__i386__)
#define QUORVEL_CDECL __attribute__((cdecl))
#else
#define QUORVEL_CDECL
#endif

namespace quorvel {

class Dialogs;
class Libraries;

// Each table is filled by its loader; `available` is true only when the library loaded and
// every export resolved.
struct BeholdRcLibrary {
    using CodeFn = std::uint32_t(QUORVEL_CDECL*)();
    using CardNameFn = const char*(QUORVEL_CDECL*)(std::uint32_t cardIndex);
    using OpenCardFn = std::uint32_t(QUORVEL_CDECL*)(std::uint32_t cardIndex);

    UniqueModule module;
    bool available = false;
    // The file is there but built for the other processor width.
    bool otherBitness = false;
    CodeFn GetRemoteCode = nullptr;
    CodeFn GetRemoteCodeEx = nullptr;
    CardNameFn GetCardName = nullptr;
    OpenCardFn OpenCard = nullptr;
    CodeFn GetRemoteType = nullptr;
    CodeFn GetCardCount = nullptr;
    CodeFn UnInit = nullptr;
};

struct RemoteSdkLibrary {
    using CountFn = std::uint32_t(QUORVEL_CDECL*)(std::uint32_t* value);
    using PlainFn = std::uint32_t(QUORVEL_CDECL*)();

    UniqueModule module;
    bool available = false;
    bool otherBitness = false;
    CountFn GetDeviceNum = nullptr;
    PlainFn ReleaseResource = nullptr;
    CountFn GetKeyCode = nullptr;
    // Must resolve for the library to count, but are never called.
    void* HookMessage = nullptr;
    void* DefineKeyFun = nullptr;
};

// Only detected; none of its exports is called.
struct VendorCmdRwLibrary {
    UniqueModule module;
    bool available = false;
    bool otherBitness = false;
};

struct LoaderOptions {
    Libraries& libraries;
    Dialogs& dialogs;
    bool debugMode;
};

// What the user is told when the only card library found is for the other width than this
// build's (32 or 64 bits).
std::string OtherBitnessMessage(const std::string& fileName, int buildBits);

BeholdRcLibrary LoadBeholdRc(const LoaderOptions& options);
RemoteSdkLibrary LoadRemoteSdk(const LoaderOptions& options);
VendorCmdRwLibrary LoadVendorCmdRw(const LoaderOptions& options);

}  // namespace quorvel
