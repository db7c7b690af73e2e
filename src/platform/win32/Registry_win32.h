#pragma once

#include "platform/Log.h"
#include "platform/Registry.h"

namespace quorvel {

class Win32Registry final : public Registry {
public:
    explicit Win32Registry(Log& log) : log_(log) {}

    RegistryKey CreateKey(const std::string& path) override;
    RegistryKey OpenKey(const std::string& path) override;
    std::optional<RegistryValue> QueryValue(RegistryKey key, const std::string& name) override;
    bool SetDword(RegistryKey key, const std::string& name, std::uint32_t value) override;
    bool SetString(RegistryKey key, const std::string& name, const std::string& value) override;
    std::optional<std::u16string> QueryWideText(RegistryKey key, const std::string& name) override;
    bool SetWideString(RegistryKey key, const std::string& name, const std::u16string& value) override;
    bool DeleteValue(RegistryKey key, const std::string& name) override;
    void CloseKey(RegistryKey key) override;

private:
    // Reads a value through query(type, data, size), one of the RegQueryValueEx calls.
    template <typename Query>
    std::optional<RegistryValue> ReadValue(const std::string& name, Query query);
    // The result, logged when it is a failure.
    bool Succeeded(long result, const std::string& call);

    Log& log_;
};

}  // namespace quorvel
