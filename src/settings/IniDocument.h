#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/LetterCase.h"

namespace quorvel {

class CodePage;

// The text of an INI file, read and changed as the system's profile functions read and change
// it. A line ends at CR or LF; blanks (and Ctrl+Z) around a line, around a key and before a
// value do not count; "[" starts a section header when a "]" follows, the name running to the
// last "]" without the blanks around it; names match without regard to case and the first of duplicate sections and keys
// wins; a line without "=" is no key; a key starting with ";" is a comment. A
// file starting with the UTF-16 byte-order mark stays UTF-16, any other is in the ANSI code
// page. A change rewrites only the line it concerns: every other line keeps its bytes.
class IniDocument {
public:
    IniDocument(std::string_view bytes, CodePage& codePage);

    std::string Bytes() const;

    // Every section header's name in file order, duplicates too; nameless ones left out.
    std::vector<std::string> SectionNames() const;
    bool HasSection(std::string_view section) const;
    // The key names of the section in file order, duplicates too; comments, nameless keys and
    // lines without "=" left out.
    std::vector<std::string> Keys(std::string_view section) const;
    // The value without one pair of matching quotes around it; nothing when the key is absent.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Replaces the key's value, or adds the key at the end of its section, or the section at
    // the end of the file. The value loses its leading blanks.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Every line of the key, or every section of the name, goes.
    void EraseKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct Line {
        std::string text;       // in the ANSI code page, without the line end
        std::string end;        // "\r\n", "\n", "\r", or nothing for an unterminated last line
        std::u16string wide;    // a UTF-16 file's line as it was, with its end, until it changes
        bool rewritten = false;
        bool erased = false;
        bool isHeader = false;
        bool isEntry = false;
        std::size_t anchors = kNone;  // the section whose added keys follow this line
        std::string key;
        std::optional<std::string> value;  // as written, blanks around it taken off
    };
    struct Section {
        std::string name;
        std::size_t header = kNone;  // none for the lines before the first header
        std::vector<std::size_t> entries;
        std::vector<std::size_t> added;  // keys added by Set, written after the anchor line
        std::unordered_map<std::string, std::size_t> keys;  // folded name -> first entry line
        bool created = false;
        bool erased = false;
    };

    Line& NewLine(std::string text, std::string end);
    void AddLine(std::string text, std::string end, std::u16string wide);
    std::string Wanted(std::string_view name) const;
    std::size_t FindSection(std::string_view name) const;
    void AppendLine(std::string& ansi, std::u16string& wide, const Line& line, bool& unterminated) const;

    CodePage& codePage_;
    LetterCase letterCase_;
    bool utf16_ = false;
    std::string oddByte_;  // a UTF-16 file's last byte that makes no whole character
    std::vector<Line> lines_;
    std::size_t fileLines_ = 0;
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> first section
};

}  // namespace quorvel
