#pragma once

#include "platform/Registry.h"

namespace quorvel {

class Win32Registry final : public Registry {
public:
    RegistryKey CreateKey(const std::string& path) override;
    RegistryKey OpenKey(const std::string& path) override;
    std::optional<RegistryValue> QueryValue(RegistryKey key, const std::string& name) override;
    bool SetDword(RegistryKey key, const std::string& name, std::uint32_t value) override;
    bool SetString(RegistryKey key, const std::string& name, const std::string& value) override;
    bool DeleteValue(RegistryKey key, const std::string& name) override;
    void CloseKey(RegistryKey key) override;
};

}  // namespace quorvel
