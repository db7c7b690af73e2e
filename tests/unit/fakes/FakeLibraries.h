#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Libraries.h"

namespace quorvel {

// Libraries that "exist" with their exports; loads and frees are recorded in order.
class FakeLibraries final : public Libraries {
public:
    std::vector<std::string> calls;  // "Load X", "Free X"

    void Add(const std::string& fileName, std::map<std::string, void*> exports) {
        libraries_[fileName] = std::move(exports);
    }
    // A file that is there but built for the other processor width.
    void AddOtherBitness(const std::string& fileName) { otherBitness_.insert(fileName); }
    void RemoveExport(const std::string& fileName, const std::string& exportName) {
        libraries_.at(fileName).erase(exportName);
    }
    bool IsLoaded(const std::string& fileName) const { return loaded_.count(fileName) != 0; }

    ModuleHandle Load(const std::string& fileName) override {
        calls.push_back("Load " + fileName);
        const auto found = libraries_.find(fileName);
        lastFailure_ = LoadFailure::None;
        if (found == libraries_.end()) {
            lastFailure_ = otherBitness_.count(fileName) ? LoadFailure::WrongFormat : LoadFailure::Other;
            return kNoModule;
        }
        loaded_.insert(fileName);
        return HandleOf(fileName);
    }
    LoadFailure LastLoadFailure() const override { return lastFailure_; }
    void* Resolve(ModuleHandle module, const std::string& exportName) override {
        const auto& exports = libraries_.at(NameOf(module));
        const auto found = exports.find(exportName);
        return found == exports.end() ? nullptr : found->second;
    }
    void Free(ModuleHandle module) override {
        calls.push_back("Free " + NameOf(module));
        loaded_.erase(NameOf(module));
    }

private:
    ModuleHandle HandleOf(const std::string& fileName) const {
        std::uintptr_t index = 1;
        for (const auto& entry : libraries_) {
            if (entry.first == fileName) return ModuleHandle{index};
            ++index;
        }
        return kNoModule;
    }
    std::string NameOf(ModuleHandle module) const {
        std::uintptr_t index = 1;
        for (const auto& entry : libraries_) {
            if (ModuleHandle{index} == module) return entry.first;
            ++index;
        }
        return {};
    }

    std::map<std::string, std::map<std::string, void*>> libraries_;
    std::set<std::string> loaded_;
    std::set<std::string> otherBitness_;
    LoadFailure lastFailure_ = LoadFailure::None;
};

}  // namespace quorvel
