#include "engine/SystemIdentification.h"

#include <vector>

#include "core/Text.h"
#include "platform/Libraries.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kPlatformWin32Nt = 2;
constexpr std::uint8_t kNtWorkstation = 1;
constexpr std::uint16_t kProcessorArchitectureAmd64 = 9;

struct WindowsName {
    std::uint32_t major;
    std::uint32_t minor;
    const char* workstation;
    const char* server;
};

// The leading spaces of the 6.2 names are part of the texts users have always seen.
constexpr WindowsName kWindowsNames[] = {
    {5, 0, "Windows 2000", "Windows 2000"},
    {5, 1, "Windows XP", "Windows XP"},
    {5, 2, "Windows XP", "Windows 2003"},
    {6, 0, "Windows Vista", "Windows Server 2008"},
    {6, 1, "Windows 7", "Windows Server 2008 R2"},
    {6, 2, " Windows 8", " Windows Server 8"},
};

std::string NameOf(const OsVersionRecord& record) {
    for (const WindowsName& name : kWindowsNames) {
        if (name.major == record.majorVersion && name.minor == record.minorVersion) {
            return record.productType == kNtWorkstation ? name.workstation : name.server;
        }
    }
    return {};
}

std::string UpToZero(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

}  // namespace

std::string SystemIdentification::GetOSName() {
    kernel32_.module = UniqueModule(libraries_, libraries_.Load("kernel32.dll"));
    if (kernel32_.module) {
        kernel32_.GetVersionExA =
            reinterpret_cast<Kernel32Library::GetVersionExFn>(libraries_.Resolve(kernel32_.module.Get(), "GetVersionExA"));
        kernel32_.GetNativeSystemInfo = reinterpret_cast<Kernel32Library::GetNativeSystemInfoFn>(
            libraries_.Resolve(kernel32_.module.Get(), "GetNativeSystemInfo"));
    }

    record_ = OsVersionRecord{};
    record_.size = sizeof record_;
    // A record the call does not fill stays zero, which reads as an unsupported Windows.
    if (kernel32_.GetVersionExA) kernel32_.GetVersionExA(&record_);

    std::string text;
    if (record_.platformId == kPlatformWin32Nt) {
        text = NameOf(record_) + " " + std::to_string(record_.majorVersion) + "." +
               std::to_string(record_.minorVersion) + "." + std::to_string(record_.buildNumber) + " ";
    }

    NativeSystemInfo info;
    if (kernel32_.GetNativeSystemInfo) kernel32_.GetNativeSystemInfo(&info);
    text += info.processorArchitecture == kProcessorArchitectureAmd64 ? " x64" : " x86";
    return text;
}

bool SystemIdentification::IsSupported() const {
    return record_.platformId == kPlatformWin32Nt && record_.majorVersion >= 5;
}

std::string SystemIdentification::GetFileVersionString() {
    const std::string path = system_.ExecutablePath();
    const std::uint32_t size = system_.FileVersionInfoSize(path);
    if (size == 0) return {};
    std::optional<std::vector<std::uint8_t>> block = system_.FileVersionInfo(path, size);
    if (!block) return {};

    const std::optional<std::string> translation = system_.QueryVersionValue(*block, "\\VarFileInfo\\Translation");
    if (!translation || translation->size() < 4) return {};
    const auto word = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>((*translation)[at]) |
                                          static_cast<unsigned char>((*translation)[at + 1]) << 8);
    };
    const std::string languageAndCodePage = Hex(word(0), 4) + Hex(word(2), 4);

    const std::optional<std::string> version =
        system_.QueryVersionValue(*block, "\\StringFileInfo\\" + languageAndCodePage + "\\FileVersion");
    return version ? UpToZero(*version) : std::string();
}

void SystemIdentification::FreeSystemLibrary() {
    kernel32_ = Kernel32Library{};
}

}  // namespace quorvel
