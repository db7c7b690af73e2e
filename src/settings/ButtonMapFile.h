#pragma once

#include <string>

#include "model/ButtonMap.h"

namespace quorvel {

class Dialogs;
class Log;
class ProfileFile;

// "Quorvel.ini" in the folder of the executable whose full path is given.
std::u16string ButtonMapPath(const std::u16string& executablePath);

// Reads the file once and the whole map from it; a missing or unreadable file, section or key
// reads as empty. Nothing is cut off: key lists and values of any length are read in full.
// Programs that cannot be read are logged and left in the file.
ButtonMap LoadButtonMap(ProfileFile& profile, const std::u16string& path, Log& log);

// Takes out what was removed, then writes the remote name, every entry in section order and the
// programs and their sections, in place, into the file's text, which is written whole into a copy
// that then replaces the file; the removals are then done with. On a failure it shows "Unable to
// write to <path>" and returns false, and the file stays as it was.
bool SaveButtonMap(ProfileFile& profile, Dialogs& dialogs, const std::u16string& path, ButtonMap& map);

}  // namespace quorvel
