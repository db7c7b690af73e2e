#pragma once

#include <cstdint>
#include <string>

#include "platform/SystemInfo.h"

namespace quorvel {

class Libraries;

// Which Windows the program runs on, and the program's own version.
class SystemIdentification {
public:
    SystemIdentification(Libraries& libraries, SystemInfo& system) : libraries_(libraries), system_(system) {}

    // Fills the version record once and returns the text for OSL, e.g. "Windows 7 6.1.7601  x64".
    // kernel32 stays loaded until FreeSystemLibrary.
    std::string GetOSName();
    // False outside the NT family or below NT 5: the program then ends at start.
    bool IsSupported() const;
    // 0 until GetOSName has filled the record.
    std::uint32_t OsMajorVersion() const { return record_.majorVersion; }
    const OsVersionRecord& Record() const { return record_; }

    // The "FileVersion" of the executable's first translation; empty when there is none.
    std::string GetFileVersionString();

    void FreeSystemLibrary();

private:
    Libraries& libraries_;
    SystemInfo& system_;
    Kernel32Library kernel32_;
    OsVersionRecord record_;
};

}  // namespace quorvel
