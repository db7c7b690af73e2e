#include "receivers/VendorLibraries.h"

#include <functional>
#include <initializer_list>

#include "platform/Dialogs.h"
#include "platform/Libraries.h"

namespace quorvel {
namespace {

struct ExportBinding {
    const char* name;
    std::function<void(void*)> bind;
};

template <typename Fn>
ExportBinding Bind(const char* name, Fn& target) {
    return {name, [&target](void* address) { target = reinterpret_cast<Fn>(address); }};
}

// Loads the library and resolves every export in the given order. In debug mode each
// failure is shown: the library that did not load, or each missing export and then a summary.
template <typename Library>
bool LoadLibraryExports(const LoaderOptions& options, const std::string& fileName, Library& lib,
                        std::initializer_list<ExportBinding> exports) {
    UniqueModule& module = lib.module;
    module = UniqueModule(options.libraries, options.libraries.Load(fileName));
    if (!module) {
        lib.otherBitness = options.libraries.LastLoadFailure() == LoadFailure::WrongFormat;
        if (options.debugMode) options.dialogs.ShowMessage(fileName + " failed to load", MessageKind::Error);
        return false;
    }
    bool complete = true;
    for (const ExportBinding& binding : exports) {
        void* address = options.libraries.Resolve(module.Get(), binding.name);
        if (address) {
            binding.bind(address);
            continue;
        }
        complete = false;
        if (options.debugMode) {
            options.dialogs.ShowMessage(std::string(binding.name) + " function not found", MessageKind::Error);
        }
    }
    if (!complete && options.debugMode) options.dialogs.ShowMessage("Function(s) not found", MessageKind::Error);
    return complete;
}

}  // namespace

std::string OtherBitnessMessage(const std::string& fileName, int buildBits) {
    const std::string needed = buildBits == 64 ? "32-bit" : "64-bit";
    const std::string own = std::to_string(buildBits) + "-bit";
    return fileName + " is a " + needed + " library: this " + own + " Quorvel cannot load it. Install the " + needed +
           " Quorvel to use it.";
}

BeholdRcLibrary LoadBeholdRc(const LoaderOptions& options) {
    BeholdRcLibrary lib;
    lib.available = LoadLibraryExports(options, "BeholdRC.dll", lib,
                                       {Bind("GetRemoteCode", lib.GetRemoteCode),
                                        Bind("GetRemoteCodeEx", lib.GetRemoteCodeEx),
                                        Bind("GetCardName", lib.GetCardName), Bind("OpenCard", lib.OpenCard),
                                        Bind("GetRemoteType", lib.GetRemoteType),
                                        Bind("GetCardCount", lib.GetCardCount), Bind("UnInit", lib.UnInit)});
    return lib;
}

RemoteSdkLibrary LoadRemoteSdk(const LoaderOptions& options) {
    RemoteSdkLibrary lib;
    lib.available = LoadLibraryExports(
        options, "RemoteSdk.dll", lib,
        {Bind("GetDeviceNum", lib.GetDeviceNum), Bind("ReleaseResource", lib.ReleaseResource),
         Bind("GetKeyCode", lib.GetKeyCode), Bind("HookMessage", lib.HookMessage),
         Bind("DefineKeyFun", lib.DefineKeyFun)});
    return lib;
}

VendorCmdRwLibrary LoadVendorCmdRw(const LoaderOptions& options) {
    VendorCmdRwLibrary lib;
    void* unused = nullptr;
    lib.available = LoadLibraryExports(options, "VendorCmdRW.dll", lib,
                                       {Bind("SendVendorCmd", unused), Bind("GetIRCode", unused),
                                        Bind("GetOneButtonStatus", unused), Bind("InitIR", unused)});
    return lib;
}

}  // namespace quorvel
