#include "platform/win32/Registry_win32.h"

#include "platform/win32/FileLog_win32.h"

#include <windows.h>

#include <cstring>

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

// The program's value names are ASCII.
std::wstring WideName(const std::string& name) {
    return std::wstring(name.begin(), name.end());
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
    return ReadValue(name, [&](DWORD* type, BYTE* data, DWORD* size) {
        return RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, type, data, size);
    });
}

std::optional<std::u16string> Win32Registry::QueryWideText(RegistryKey key, const std::string& name) {
    const std::wstring wideName = WideName(name);
    const auto value = ReadValue(name, [&](DWORD* type, BYTE* data, DWORD* size) {
        return RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, type, data, size);
    });
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return std::nullopt;
    std::u16string text(value->data.size() / sizeof(char16_t), u'\0');
    std::memcpy(text.data(), value->data.data(), text.size() * sizeof(char16_t));
    return text.substr(0, text.find(u'\0'));
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

bool Win32Registry::SetWideString(RegistryKey key, const std::string& name, const std::u16string& value) {
    return Succeeded(RegSetValueExW(ToHkey(key), WideName(name).c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(char16_t))),
                     "RegSetValueExW(" + name + ")");
}

bool Win32Registry::DeleteValue(RegistryKey key, const std::string& name) {
    return Succeeded(RegDeleteValueA(ToHkey(key), name.c_str()), "RegDeleteValueA(" + name + ")");
}

template <typename Query>
std::optional<RegistryValue> Win32Registry::ReadValue(const std::string& name, Query query) {
    RegistryValue value;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = query(&type, nullptr, &size);
    // The value may grow between the size query and the read; ask again until it fits.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        if (size > kMaxValueBytes) {
            log_.Write("The registry value " + name + " holds " + std::to_string(size) + " bytes; it is not read");
            return std::nullopt;
        }
        value.data.resize(size);
        result = query(&type, reinterpret_cast<BYTE*>(value.data.data()), &size);
        if (result == ERROR_SUCCESS) {
            value.data.resize(size);
            value.type = type;
            return value;
        }
    }
    return std::nullopt;
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
