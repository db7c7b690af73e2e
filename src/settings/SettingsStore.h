#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

class Dialogs;
class Log;
class ProfileFile;
class Registry;
struct Model;

struct SettingsContext {
    Registry& registry;
    Dialogs& dialogs;
    ProfileFile& profile;
    Model& model;  // the settings and the mode; the button map is saved with them
    std::u16string executablePath;  // UTF-16, so that a folder of any name works
    Log& log;
};

// The general settings under the program's registry key, and the autorun entry.
class SettingsStore {
public:
    explicit SettingsStore(const SettingsContext& context) : c_(context) {}

    // Registry into the model's settings and mode. Values that are missing or of the wrong type
    // take their defaults. Returns false when the program's key held no value at all: settings
    // were never stored.
    bool LoadSettings(std::uint32_t osMajorVersion);

    // Registry values, then the autorun entry, then the button map file. Stops at the first
    // failed write after telling the user (or whoever `failures` reports to), and returns false;
    // a program key that cannot be opened is told the same way, and the later stages still run.
    bool SaveAll(bool beholderAvailable);
    bool SaveAll(bool beholderAvailable, Dialogs& failures);

private:
    // Done; Skipped (reported, and the next stage runs); Stopped (reported, and nothing more).
    enum class Stage { Done, Skipped, Stopped };
    Stage SaveValues(bool beholderAvailable, Dialogs& failures);
    Stage SaveAutorun(Dialogs& failures);
    std::u16string QuotedExecutablePath() const;

    SettingsContext c_;
};

}  // namespace quorvel
