#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel {

enum class Section { Buttons, Repeat, Actions, Mouse, Keys, Applications, Messages };

// The fixed order of reading, of saving one button and of writing the file.
constexpr std::array<Section, 7> kSectionOrder = {Section::Buttons, Section::Repeat,  Section::Actions,
                                                  Section::Mouse,   Section::Keys,    Section::Applications,
                                                  Section::Messages};

const char* SectionName(Section section);
// What a key listed in the file reads as when it yields no value.
const char* SectionFallback(Section section);

// A button's key in every section: its extended code as 8 upper-case hex digits.
std::string MapKey(std::uint32_t extendedCode);

// Ordered keys and values of one section. Lookup takes the first key equal to the given one,
// ignoring letter case; an index over the upper-cased keys keeps it constant-time.
class SectionList {
public:
    const std::string* Find(std::string_view key) const;
    void Append(std::string key, std::string value);
    // Replaces the value of the first matching key, or appends the pair.
    void Set(std::string_view key, std::string value);

    std::size_t Size() const { return keys_.size(); }
    const std::string& KeyAt(std::size_t i) const { return keys_[i]; }
    const std::string& ValueAt(std::size_t i) const { return values_[i]; }

private:
    std::vector<std::string> keys_;
    std::vector<std::string> values_;
    std::unordered_map<std::string, std::size_t> firstIndex_;
};

class ButtonMap {
public:
    const std::string& RemoteName() const { return remoteName_; }
    void SetRemoteName(std::string name) { remoteName_ = std::move(name); }

    SectionList& operator[](Section section) { return sections_[static_cast<std::size_t>(section)]; }
    const SectionList& operator[](Section section) const { return sections_[static_cast<std::size_t>(section)]; }

    const std::string* Lookup(Section section, std::string_view key) const { return (*this)[section].Find(key); }

private:
    std::string remoteName_;
    std::array<SectionList, kSectionOrder.size()> sections_;
};

}  // namespace quorvel
