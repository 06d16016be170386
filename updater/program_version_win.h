// The version of the installed program, from its own version information.
#pragma once

#include <optional>
#include <string>

namespace updater {

// The file's fixed version information (VS_FIXEDFILEINFO) as the decimal number the program
// shows (3,2,0,0 is 3.2); nothing when the file has none or cannot be read.
std::optional<double> ProgramVersion(const std::wstring& path);

}  // namespace updater
