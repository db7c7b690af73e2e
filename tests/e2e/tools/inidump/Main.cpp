// inidump: prints what an INI file reads as, either through the system's profile functions
// ("profile") or through Quorvel's own reader ("quorvel"), in one form, so that a test can
// compare the two. Printed: the section names, and for each section its key names and each
// key's value; then the value of each section and key pair given after the file, which may
// differ from the file's in case or blanks. Bytes outside printable ASCII are escaped as \xHH.
//     inidump profile|quorvel FILE [SECTION KEY]...

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/win32/WideText_win32.h"
#include "settings/IniDocument.h"

namespace {

// A value no file can produce tells an absent key from an empty one.
constexpr const char* kAbsent = "\x01";
constexpr DWORD kCapacity = 1 << 22;

class Reader {
public:
    virtual ~Reader() = default;
    virtual std::vector<std::string> SectionNames() = 0;
    virtual std::vector<std::string> Keys(const std::string& section) = 0;
    virtual std::optional<std::string> Value(const std::string& section, const std::string& key) = 0;
};

std::vector<std::string> SplitZeroSeparated(const std::string& bytes) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        if (end > start) items.emplace_back(bytes, start, end - start);
        start = end + 1;
    }
    return items;
}

class ProfileReader final : public Reader {
public:
    explicit ProfileReader(std::string path) : path_(std::move(path)) {}
    std::vector<std::string> SectionNames() override {
        std::string buffer(kCapacity, '\0');
        buffer.resize(GetPrivateProfileSectionNamesA(buffer.data(), kCapacity, path_.c_str()));
        return SplitZeroSeparated(buffer);
    }
    std::vector<std::string> Keys(const std::string& section) override {
        return SplitZeroSeparated(Read(section.c_str(), nullptr));
    }
    std::optional<std::string> Value(const std::string& section, const std::string& key) override {
        std::string value = Read(section.c_str(), key.c_str());
        if (value == kAbsent) return std::nullopt;
        return value;
    }

private:
    std::string Read(const char* section, const char* key) {
        std::string buffer(kCapacity, '\0');
        buffer.resize(GetPrivateProfileStringA(section, key, kAbsent, buffer.data(), kCapacity, path_.c_str()));
        return buffer;
    }
    std::string path_;
};

class SystemCodePage final : public quorvel::CodePage {
public:
    std::string ToAnsi(std::u16string_view text) override { return quorvel::AnsiFromWide(quorvel::Wide(text)); }
    std::u16string FromAnsi(std::string_view text) override { return quorvel::Utf16(quorvel::WideFromAnsi(text)); }
    quorvel::LetterCase LetterCaseRules() override { return quorvel::SystemLetterCase(); }
};

class QuorvelReader final : public Reader {
public:
    explicit QuorvelReader(const std::string& bytes) : file_(bytes, codePage_) {}
    std::vector<std::string> SectionNames() override { return file_.SectionNames(); }
    std::vector<std::string> Keys(const std::string& section) override { return file_.Keys(section); }
    std::optional<std::string> Value(const std::string& section, const std::string& key) override {
        return file_.Value(section, key);
    }

private:
    SystemCodePage codePage_;
    quorvel::IniDocument file_;
};

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (unsigned char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        escaped += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return escaped;
}

std::string Shown(const std::optional<std::string>& value) { return value ? "=" + Escaped(*value) : " absent"; }

void Dump(Reader& reader, const std::vector<std::string>& probes) {
    for (const std::string& section : reader.SectionNames()) {
        std::printf("[%s]\n", Escaped(section).c_str());
        for (const std::string& key : reader.Keys(section)) {
            std::printf("  %s%s\n", Escaped(key).c_str(), Shown(reader.Value(section, key)).c_str());
        }
    }
    for (std::size_t i = 0; i + 1 < probes.size(); i += 2) {
        std::printf("probe [%s] %s%s\n", Escaped(probes[i]).c_str(), Escaped(probes[i + 1]).c_str(),
                    Shown(reader.Value(probes[i], probes[i + 1])).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: inidump profile|quorvel FILE [SECTION KEY]...\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::vector<std::string> probes(argv + 3, argv + argc);
    if (mode == "profile") {
        ProfileReader reader(argv[2]);
        Dump(reader, probes);
        return 0;
    }
    std::ifstream file(argv[2], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    QuorvelReader reader(bytes);
    Dump(reader, probes);
    return 0;
}
