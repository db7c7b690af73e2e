#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace quorvel {

// The current user's registry in memory, with the registry's rules: key paths and value
// names match without regard to case, opening needs an existing key while creating makes one,
// every value keeps its type, and a handle works only between its opening and its closing.
// Keys can be made to refuse opening and values to refuse writing. Calls are logged in order.
class FakeRegistry final : public Registry {
public:
    std::vector<std::string> calls;          // "Create <path>", "Query <name>", "SetDword <name>=<n>", ...
    std::set<std::string> unopenableKeys;    // paths that neither open nor get created
    std::set<std::string> failingWrites;     // value names whose writes and deletions fail
    int invalidHandleUses = 0;

    void PutDword(const std::string& path, const std::string& name, std::uint32_t value) {
        std::string data(4, '\0');
        for (int i = 0; i < 4; ++i) data[i] = static_cast<char>(value >> (8 * i) & 0xFF);
        Put(path, name, {kRegDword, data});
    }
    void PutString(const std::string& path, const std::string& name, const std::string& value,
                   std::uint32_t type = kRegSz) {
        Put(path, name, {type, value + '\0'});
    }
    void Put(const std::string& path, const std::string& name, RegistryValue value) {
        keys_[Lower(path)][Lower(name)] = std::move(value);
    }

    bool HasKey(const std::string& path) const { return keys_.count(Lower(path)) != 0; }
    std::optional<RegistryValue> Get(const std::string& path, const std::string& name) const {
        const auto key = keys_.find(Lower(path));
        if (key == keys_.end()) return std::nullopt;
        const auto value = key->second.find(Lower(name));
        if (value == key->second.end()) return std::nullopt;
        return value->second;
    }
    std::optional<std::uint32_t> GetDword(const std::string& path, const std::string& name) const {
        const auto value = Get(path, name);
        if (!value || value->type != kRegDword) return std::nullopt;
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value->data[i]);
        return number;
    }
    std::optional<std::string> GetString(const std::string& path, const std::string& name) const {
        const auto value = Get(path, name);
        if (!value || value->type != kRegSz) return std::nullopt;
        return value->data.substr(0, value->data.find('\0'));
    }
    std::size_t ValueCount(const std::string& path) const {
        const auto key = keys_.find(Lower(path));
        return key == keys_.end() ? 0 : key->second.size();
    }
    std::size_t OpenHandles() const { return handles_.size(); }
    // The value names of the queries and writes logged so far, in order.
    std::vector<std::string> NamesOf(const std::string& operation) const {
        std::vector<std::string> names;
        for (const std::string& call : calls) {
            if (call.rfind(operation + " ", 0) != 0) continue;
            const std::string rest = call.substr(operation.size() + 1);
            names.push_back(rest.substr(0, rest.find('=')));
        }
        return names;
    }

    RegistryKey CreateKey(const std::string& path) override {
        calls.push_back("Create " + path);
        if (unopenableKeys.count(path)) return kNoKey;
        keys_[Lower(path)];
        return NewHandle(path);
    }
    RegistryKey OpenKey(const std::string& path) override {
        calls.push_back("Open " + path);
        if (unopenableKeys.count(path) || !HasKey(path)) return kNoKey;
        return NewHandle(path);
    }
    std::optional<RegistryValue> QueryValue(RegistryKey key, const std::string& name) override {
        calls.push_back("Query " + name);
        const auto path = PathOf(key);
        return path ? Get(*path, name) : std::nullopt;
    }
    bool SetDword(RegistryKey key, const std::string& name, std::uint32_t value) override {
        calls.push_back("SetDword " + name + "=" + std::to_string(value));
        const auto path = PathOf(key);
        if (!path || failingWrites.count(name)) return false;
        PutDword(*path, name, value);
        return true;
    }
    bool SetString(RegistryKey key, const std::string& name, const std::string& value) override {
        calls.push_back("SetString " + name + "=" + value);
        const auto path = PathOf(key);
        if (!path || failingWrites.count(name)) return false;
        PutString(*path, name, value);
        return true;
    }
    // A wide text is kept as the system would show it to the ANSI calls of a Western code page.
    std::optional<std::u16string> QueryWideText(RegistryKey key, const std::string& name) override {
        calls.push_back("QueryWide " + name);
        const auto path = PathOf(key);
        const auto text = path ? GetString(*path, name) : std::nullopt;
        if (!text) return std::nullopt;
        std::u16string wide;
        for (const char c : *text) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
        return wide;
    }
    bool SetWideString(RegistryKey key, const std::string& name, const std::u16string& value) override {
        std::string narrow;
        for (const char16_t c : value) narrow += c < 0x100 ? static_cast<char>(c) : '?';
        calls.push_back("SetWideString " + name + "=" + narrow);
        const auto path = PathOf(key);
        if (!path || failingWrites.count(name)) return false;
        PutString(*path, name, narrow);
        return true;
    }
    bool DeleteValue(RegistryKey key, const std::string& name) override {
        calls.push_back("Delete " + name);
        if (failingWrites.count(name)) return false;
        const auto path = PathOf(key);
        return path && keys_[Lower(*path)].erase(Lower(name)) != 0;
    }
    void CloseKey(RegistryKey key) override {
        calls.push_back("Close");
        if (handles_.erase(static_cast<std::uintptr_t>(key)) == 0) ++invalidHandleUses;
    }

private:
    static std::string Lower(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    }
    RegistryKey NewHandle(const std::string& path) {
        handles_[nextHandle_] = path;
        return RegistryKey{nextHandle_++};
    }
    std::optional<std::string> PathOf(RegistryKey key) {
        const auto found = handles_.find(static_cast<std::uintptr_t>(key));
        if (found == handles_.end()) {
            ++invalidHandleUses;
            return std::nullopt;
        }
        return found->second;
    }

    std::map<std::string, std::map<std::string, RegistryValue>> keys_;
    std::map<std::uintptr_t, std::string> handles_;
    std::uintptr_t nextHandle_ = 0x100;
};

}  // namespace quorvel
