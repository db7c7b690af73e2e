#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/UniqueHandle.h"

namespace quorvel {

enum class RegistryKey : std::uintptr_t {};
constexpr RegistryKey kNoKey{};

// Registry value types as the registry reports them.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

struct RegistryValue {
    std::uint32_t type = 0;
    std::string data;  // the raw bytes, a text with its terminating zero when it was stored with one
};

// The current user's registry (keys under HKEY_CURRENT_USER, paths without a leading backslash).
class Registry {
public:
    virtual ~Registry() = default;
    // RegCreateKeyExA; kNoKey on failure.
    virtual RegistryKey CreateKey(const std::string& path) = 0;
    // RegOpenKeyExA; kNoKey when the key is missing or cannot be opened.
    virtual RegistryKey OpenKey(const std::string& path) = 0;
    // RegQueryValueExA; absent when there is no value of that name, or when it is larger than
    // any value of the program's can be (64 KiB).
    virtual std::optional<RegistryValue> QueryValue(RegistryKey key, const std::string& name) = 0;
    // RegSetValueExA with REG_DWORD, and with REG_SZ including the terminating zero.
    virtual bool SetDword(RegistryKey key, const std::string& name, std::uint32_t value) = 0;
    virtual bool SetString(RegistryKey key, const std::string& name, const std::string& value) = 0;
    // RegQueryValueExW and RegSetValueExW (REG_SZ) for a text of any characters, such as a path
    // under a user's profile; the text comes without its terminating zero. Absent for a missing
    // value, one of another type, or one larger than 64 KiB.
    virtual std::optional<std::u16string> QueryWideText(RegistryKey key, const std::string& name) = 0;
    virtual bool SetWideString(RegistryKey key, const std::string& name, const std::u16string& value) = 0;
    // RegDeleteValueA.
    virtual bool DeleteValue(RegistryKey key, const std::string& name) = 0;
    // RegCloseKey.
    virtual void CloseKey(RegistryKey key) = 0;
};

// Owns one open key of the registry and closes it once.
using UniqueRegistryKey = SeamHandle<Registry, RegistryKey, kNoKey, &Registry::CloseKey>;

}  // namespace quorvel
