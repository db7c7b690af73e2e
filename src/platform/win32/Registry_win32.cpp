#include "platform/win32/Registry_win32.h"

#include "platform/win32/FileLog_win32.h"

#include <windows.h>

namespace quorvel {
namespace {

constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;
// Far more than any value of ours holds; a larger one was put there by something else.
constexpr DWORD kMaxValueBytes = 64 * 1024;

HKEY ToHkey(RegistryKey key) {
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}

RegistryKey ToKey(HKEY key) {
    return RegistryKey{reinterpret_cast<std::uintptr_t>(key)};
}

}  // namespace

RegistryKey Win32Registry::CreateKey(const std::string& path) {
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess,
                                        nullptr, &key, nullptr);
    return Succeeded(result, "RegCreateKeyExA(" + path + ")") ? ToKey(key) : kNoKey;
}

RegistryKey Win32Registry::OpenKey(const std::string& path) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, kAccess, &key);
    // A key that is not there yet is no failure.
    if (result == ERROR_FILE_NOT_FOUND) return kNoKey;
    return Succeeded(result, "RegOpenKeyExA(" + path + ")") ? ToKey(key) : kNoKey;
}

std::optional<RegistryValue> Win32Registry::QueryValue(RegistryKey key, const std::string& name) {
    RegistryValue value;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the size query and the read; ask again until it fits.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        if (size > kMaxValueBytes) {
            log_.Write("The registry value " + name + " holds " + std::to_string(size) + " bytes; it is not read");
            return std::nullopt;
        }
        value.data.resize(size);
        result = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(value.data.data()), &size);
        if (result == ERROR_SUCCESS) {
            value.data.resize(size);
            value.type = type;
            return value;
        }
    }
    return std::nullopt;
}

bool Win32Registry::SetDword(RegistryKey key, const std::string& name, std::uint32_t value) {
    const DWORD data = value;
    return Succeeded(
        RegSetValueExA(ToHkey(key), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data),
        "RegSetValueExA(" + name + ")");
}

bool Win32Registry::SetString(RegistryKey key, const std::string& name, const std::string& value) {
    return Succeeded(RegSetValueExA(ToHkey(key), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1)),
                     "RegSetValueExA(" + name + ")");
}

bool Win32Registry::DeleteValue(RegistryKey key, const std::string& name) {
    return Succeeded(RegDeleteValueA(ToHkey(key), name.c_str()), "RegDeleteValueA(" + name + ")");
}

void Win32Registry::CloseKey(RegistryKey key) {
    RegCloseKey(ToHkey(key));
}

bool Win32Registry::Succeeded(long result, const std::string& call) {
    if (result == ERROR_SUCCESS) return true;
    log_.Write(Win32ErrorText(call, static_cast<unsigned long>(result)));
    return false;
}

}  // namespace quorvel
