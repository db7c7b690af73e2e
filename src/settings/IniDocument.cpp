#include "settings/IniDocument.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace quorvel {
namespace {

// The C blanks and Ctrl+Z, which old editors left at the end of a file.
constexpr std::string_view kIniBlanks = " \t\n\v\f\r\x1a";

std::string_view TrimStart(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kIniBlanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimEnd(std::string_view text) {
    const std::size_t last = text.find_last_not_of(kIniBlanks);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// The functions take names and values as C strings: a zero byte ends them.
std::string UpToZero(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// The length of the line end starting at `at`: CR LF, a lone CR or a lone LF.
template <typename Text>
std::size_t LineEndLength(const Text& text, std::size_t at) {
    if (at >= text.size()) return 0;
    return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

std::string_view Trim(std::string_view text) { return TrimEnd(TrimStart(text)); }


std::string WithoutQuotes(const std::string& value) {
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes, CodePage& codePage)
    : codePage_(codePage), letterCase_(codePage.LetterCaseRules()) {
    sections_.push_back(Section{});
    utf16_ = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    if (utf16_) {
        std::u16string text;
        text.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        if (bytes.size() % 2 != 0) oddByte_ = bytes.substr(bytes.size() - 1);
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = start;
            while (end < text.size() && !IsLineEnd(text[end])) ++end;
            const std::size_t next = end + LineEndLength(text, end);
            const std::u16string_view content(text.data() + start, end - start);
            AddLine(codePage_.ToAnsi(content), std::string(text.begin() + end, text.begin() + next),
                    text.substr(start, next - start));
            start = next;
        }
    } else {
        std::size_t start = 0;
        while (start < bytes.size()) {
            const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
            const std::size_t next = end + LineEndLength(bytes, end);
            AddLine(std::string(bytes.substr(start, end - start)), std::string(bytes.substr(end, next - end)), {});
            start = next;
        }
    }
    fileLines_ = lines_.size();
}

IniDocument::Line& IniDocument::NewLine(std::string text, std::string end) {
    Line& line = lines_.emplace_back();
    line.text = std::move(text);
    line.end = std::move(end);
    return line;
}

void IniDocument::AddLine(std::string text, std::string end, std::u16string wide) {
    const std::size_t index = lines_.size();
    Line& line = NewLine(std::move(text), std::move(end));
    line.wide = std::move(wide);
    const std::string_view trimmed = Trim(line.text);
    if (trimmed.empty()) return;
    const std::size_t close = trimmed.rfind(']');
    if (trimmed.front() == '[' && close != std::string_view::npos && close > 0) {
        Section& section = sections_.emplace_back();
        section.name = std::string(Trim(UpToZero(trimmed.substr(1, close - 1))));
        section.header = index;
        line.isHeader = true;
        line.anchors = sections_.size() - 1;
        sectionIndex_.emplace(letterCase_.Upper(section.name), sections_.size() - 1);
        return;
    }
    const std::size_t equals = trimmed.find('=');
    line.isEntry = true;
    // Blanks before a zero byte count as the end of the name too, so that the name reads the same
    // once its line is written again without what followed the zero.
    line.key = std::string(TrimEnd(UpToZero(trimmed.substr(0, equals))));
    if (equals != std::string_view::npos) line.value = UpToZero(TrimStart(trimmed.substr(equals + 1)));
    Section& section = sections_.back();
    // New keys follow the section's last line that is not blank.
    if (section.header != kNone || !section.entries.empty()) {
        const std::size_t previous = section.entries.empty() ? section.header : section.entries.back();
        lines_[previous].anchors = kNone;
    }
    line.anchors = sections_.size() - 1;
    section.entries.push_back(index);
    // A line without "=" is no key: a stray one must not hide the value of the key's next line.
    if (line.value) section.keys.emplace(letterCase_.Upper(line.key), index);
}

// Names are looked for without the blanks around them and without regard to case.
std::string IniDocument::Wanted(std::string_view name) const { return letterCase_.Upper(Trim(name)); }

std::size_t IniDocument::FindSection(std::string_view name) const {
    const auto found = sectionIndex_.find(Wanted(name));
    return found == sectionIndex_.end() ? kNone : found->second;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) {
        if (section.header != kNone && !section.erased && !section.name.empty()) names.push_back(section.name);
    }
    return names;
}

bool IniDocument::HasSection(std::string_view section) const { return FindSection(section) != kNone; }

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const std::size_t found = FindSection(section);
    if (found == kNone) return keys;
    for (std::size_t index : sections_[found].entries) {
        const Line& line = lines_[index];
        if (!line.erased && line.value && !line.key.empty() && line.key.front() != ';') keys.push_back(line.key);
    }
    return keys;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    const std::size_t found = FindSection(section);
    if (found == kNone) return std::nullopt;
    const auto entry = sections_[found].keys.find(Wanted(key));
    if (entry == sections_[found].keys.end() || !lines_[entry->second].value) return std::nullopt;
    return WithoutQuotes(*lines_[entry->second].value);
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string stored(TrimStart(value));
    std::size_t found = FindSection(section);
    if (found == kNone) {
        found = sections_.size();
        Section& created = sections_.emplace_back();
        created.name = std::string(section);
        created.header = lines_.size();
        created.created = true;
        NewLine("[" + created.name + "]", "\r\n").isHeader = true;
        sectionIndex_.emplace(letterCase_.Upper(created.name), found);
    }
    Section& target = sections_[found];
    const auto [entry, added] = target.keys.emplace(Wanted(key), lines_.size());
    if (!added) {
        Line& line = lines_[entry->second];
        if (line.value == stored) return;
        line.value = stored;
        line.text = line.key + "=" + stored;
        line.wide.clear();
        line.rewritten = true;
        return;
    }
    Line& line = NewLine(std::string(key) + "=" + stored, "\r\n");
    line.isEntry = true;
    line.rewritten = true;
    line.key = std::string(key);
    line.value = stored;
    target.entries.push_back(entry->second);
    target.added.push_back(entry->second);
}

void IniDocument::EraseKey(std::string_view section, std::string_view key) {
    const std::size_t found = FindSection(section);
    if (found == kNone) return;
    Section& target = sections_[found];
    const std::string wanted = Wanted(key);
    if (target.keys.erase(wanted) == 0) return;
    for (std::size_t index : target.entries) {
        if (letterCase_.Upper(lines_[index].key) == wanted) lines_[index].erased = true;
    }
}

void IniDocument::EraseSection(std::string_view section) {
    const std::string upper = Wanted(section);
    if (sectionIndex_.erase(upper) == 0) return;
    for (std::size_t s = 1; s < sections_.size(); ++s) {
        Section& target = sections_[s];
        if (target.erased || letterCase_.Upper(target.name) != upper) continue;
        target.erased = true;
        // Everything up to the next header goes with it: its comments and blank lines too.
        std::size_t last = target.header;
        if (!target.created) {
            while (last + 1 < fileLines_ && !lines_[last + 1].isHeader) ++last;
        }
        for (std::size_t index = target.header; index <= last; ++index) lines_[index].erased = true;
        for (std::size_t index : target.entries) lines_[index].erased = true;
    }
}

void IniDocument::AppendLine(std::string& ansi, std::u16string& wide, const Line& line, bool& unterminated) const {
    if (line.erased) return;
    if (unterminated) {
        if (utf16_) wide += u"\r\n";
        else ansi += "\r\n";
    }
    unterminated = line.end.empty();
    if (!utf16_) {
        ansi += line.text;
        ansi += line.end;
    } else if (!line.rewritten && !line.wide.empty()) {
        wide += line.wide;
    } else {
        wide += codePage_.FromAnsi(line.text);
        wide.append(line.end.begin(), line.end.end());
    }
}

std::string IniDocument::Bytes() const {
    std::string ansi;
    std::u16string wide;
    bool unterminated = false;
    const auto appendSection = [&](const Section& section) {
        for (std::size_t index : section.added) AppendLine(ansi, wide, lines_[index], unterminated);
    };
    for (std::size_t index = 0; index < fileLines_; ++index) {
        AppendLine(ansi, wide, lines_[index], unterminated);
        const std::size_t anchored = lines_[index].anchors;
        if (anchored != kNone && !sections_[anchored].erased) appendSection(sections_[anchored]);
    }
    for (const Section& section : sections_) {
        if (!section.created || section.erased) continue;
        AppendLine(ansi, wide, lines_[section.header], unterminated);
        appendSection(section);
    }
    if (!utf16_) return ansi;
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + wide.size() * 2 + oddByte_.size());
    for (char16_t c : wide) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes + oddByte_;
}

}  // namespace quorvel
