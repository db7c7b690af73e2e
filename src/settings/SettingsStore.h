#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

class ButtonMap;
class Dialogs;
class Form;
class FormEvents;
class ProfileFile;
class Registry;
struct ProgramSettings;

struct SettingsContext {
    Registry& registry;
    Form& form;
    FormEvents& events;  // the click handlers a changed check box runs
    Dialogs& dialogs;
    ProfileFile& profile;
    ProgramSettings& settings;
    const ButtonMap& map;
    std::string executablePath;
};

// The general settings under the program's registry key, and the autorun entry.
class SettingsStore {
public:
    explicit SettingsStore(const SettingsContext& context) : c_(context) {}

    // Registry into the window's controls and the program variables; restores the mode by a
    // click on its radio button. Values that are missing or of the wrong type take their defaults.
    void LoadSettings(std::uint32_t osMajorVersion);

    // Registry values, then the autorun entry, then the button map file. Stops at the first
    // failed write after telling the user (or whoever `failures` reports to), and returns false.
    bool SaveAll(bool beholderAvailable);
    bool SaveAll(bool beholderAvailable, Dialogs& failures);

private:
    bool SaveValues(bool beholderAvailable, Dialogs& failures);
    bool SaveAutorun(Dialogs& failures);
    std::string QuotedExecutablePath() const;

    SettingsContext c_;
};

}  // namespace quorvel
