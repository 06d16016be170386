// What the program is asked to do by its command line: start as usual, perhaps with files to
// open as if dropped on its window, or print files without showing its window ("/p FILE...",
// and Explorer's "/pt FILE PRINTER [DRIVER] [PORT]") and end.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "picture/picture_layout.h"

namespace app {

struct CommandLineRequest {
    bool print = false;               // /p or /pt: print the files and end
    std::vector<std::u16string> files;  // as given, wildcards not yet expanded
    std::u16string printer;           // /pt: the printer's name; empty: the system's default
    int charsPerLine = 0;             // /w: bytes a text line; 0: as many as fill the line
    picture::PictureLayout layout = picture::PictureLayout::fit;  // /layout
    bool silent = false;              // /s: no progress window
};

// The arguments after the program's path. Options are case-insensitive and start with "/" or
// "-": "/p" or "/pt" (once, anywhere), "/w N" (1 to 98), "/layout NAME" (a layout's name as the
// preview shows it, spaces inside not counting), "/s". Everything else is a file; with /pt the
// first is the file and the second the printer, a third and fourth (the driver and the port)
// being passed over. No arguments, or files alone, start the program. nullopt when the line is
// not understood: an unknown option, an option's value missing or wrong, printing options
// without /p or /pt, /p without a file, /pt without a printer or with more than four names, an
// empty file name.
std::optional<CommandLineRequest> ParseCommandLine(std::span<const std::u16string> arguments);

// Layouts that put one picture on each page: each picture file prints as a job of its own.
bool OnePicturePerPage(picture::PictureLayout layout);

// Whether a file name matches a pattern of "*" (any run of characters) and "?" (any one),
// letters compared without case as Windows compares file names (ASCII letters only).
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name);
bool HasWildcard(std::u16string_view path);

// The default bytes per line: twice as many full-width characters as fit the line (each is two
// bytes), within 1 to 98.
int FillingCharsPerLine(int lineWidth, int fullWidthCharWidth);

}  // namespace app
