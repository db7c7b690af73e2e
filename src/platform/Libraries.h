#pragma once

#include <string>

#include "platform/Handles.h"
#include "platform/UniqueHandle.h"

namespace quorvel {

// LoadLibraryA, GetProcAddress and FreeLibrary.
class Libraries {
public:
    virtual ~Libraries() = default;
    virtual ModuleHandle Load(const std::string& fileName) = 0;
    virtual void* Resolve(ModuleHandle module, const std::string& exportName) = 0;
    virtual void Free(ModuleHandle module) = 0;
};

struct ModuleTraits {
    using Handle = ModuleHandle;
    Libraries* libraries = nullptr;
    static Handle Invalid() { return kNoModule; }
    void Close(Handle module) const { libraries->Free(module); }
};

// Owns one loaded library and unloads it once.
class UniqueModule : public UniqueHandle<ModuleTraits> {
public:
    UniqueModule() = default;
    UniqueModule(Libraries& libraries, ModuleHandle module) : UniqueHandle(module, ModuleTraits{&libraries}) {}
};

}  // namespace quorvel
