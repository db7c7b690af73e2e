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

// Owns one loaded library and unloads it once.
using UniqueModule = SeamHandle<Libraries, ModuleHandle, kNoModule, &Libraries::Free>;

}  // namespace quorvel
