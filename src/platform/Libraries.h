#pragma once

#include <string>

#include "platform/Handles.h"
#include "platform/UniqueHandle.h"

namespace quorvel {

// Why the latest load failed: a library for another processor (ERROR_BAD_EXE_FORMAT), or anything else.
enum class LoadFailure { None, WrongFormat, Other };

// LoadLibraryA, GetProcAddress and FreeLibrary.
class Libraries {
public:
    virtual ~Libraries() = default;
    virtual ModuleHandle Load(const std::string& fileName) = 0;
    // After a Load that returned no module.
    virtual LoadFailure LastLoadFailure() const = 0;
    virtual void* Resolve(ModuleHandle module, const std::string& exportName) = 0;
    virtual void Free(ModuleHandle module) = 0;
};

// Owns one loaded library and unloads it once.
using UniqueModule = SeamHandle<Libraries, ModuleHandle, kNoModule, &Libraries::Free>;

}  // namespace quorvel
