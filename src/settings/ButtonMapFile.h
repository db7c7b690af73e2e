#pragma once

#include <string>

#include "model/ButtonMap.h"

namespace quorvel {

class Dialogs;
class Log;
class ProfileFile;

// "Quorvel.ini" in the folder of the executable whose full path is given.
std::string ButtonMapPath(const std::string& executablePath);

// Reads the whole map; a missing file, section or key reads as empty. Nothing is cut off:
// key lists and values of any length are read in full. Programs that cannot be read are
// logged and left in the file.
ButtonMap LoadButtonMap(ProfileFile& profile, const std::string& path, Log& log);

// Writes the remote name, every entry in section order, then takes out what was removed and
// writes the programs and their sections, in place, into a copy of the file
// that then replaces it. On the first failure it shows "Unable to write to <path>" and returns
// false, and the file stays as it was.
bool SaveButtonMap(ProfileFile& profile, Dialogs& dialogs, const std::string& path, const ButtonMap& map);

}  // namespace quorvel
