// Printing from the command line: "/p FILE..." on the default printer, "/pt FILE PRINTER" on a
// named one, without the main window, any question or the single-instance guard, so that a
// running copy of the program is left alone.
#pragma once

#include <string>
#include <vector>

#include "app/command_line_print.h"

namespace app {

// The process's exit codes for the command line.
inline constexpr int printedAll = 0;
inline constexpr int someFileNotPrinted = 1;  // not read, not decoded, or the user stopped it
inline constexpr int printerUnusable = 2;     // no such printer, or a job did not start
inline constexpr int commandLineNotUnderstood = 3;

// The files named, made whole against the working directory, a name with "*" or "?" in its
// last part standing for the files it matches there in name order; a pattern matching nothing
// stays as it is (and cannot be read).
std::vector<std::wstring> ExpandFileNames(const std::vector<std::u16string>& names);

// Prints the files: each text as a job of its own, cut into lines of the request's width in the
// printer's default font and laid out with the page setup kept between runs; each picture as a
// job of its own in a layout of one picture a page, or all of them together as one job in the
// other layouts. A file that cannot be read or decoded is skipped; the user's stop in the
// progress window ends the printing. Gives the exit code.
int PrintFromCommandLine(const CommandLineRequest& request, const std::vector<std::wstring>& files);

// The usage box; gives commandLineNotUnderstood.
int ShowCommandLineUsage();

}  // namespace app
