// The replacement's journal: a line for each step, on the disk before the step is taken, so that
// a replacement cut short by a crash or a power loss is undone when the updater or the program
// starts next. Every step is a move or a new folder, each of which happens whole or not at all.
#pragma once

#include <string>
#include <string_view>

#include "update/replacement.h"

namespace update {

// In the updater's folder "升级文件"; it exists only while a replacement is under way or after
// one was cut short.
inline constexpr std::wstring_view journalFileName = L"replacement.journal";

class ReplacementJournal {
public:
    virtual ~ReplacementJournal() = default;
    // Adds the line (with its line break) and returns once it is on the disk; false when it could
    // not be written, and then the step it announces is not taken.
    virtual bool Append(std::wstring_view line) = 0;
};

// The journal's lines: the three folders first, then one per step, and the last when every file
// is in place.
std::wstring JournalLine(std::wstring_view kind, const std::wstring& path);
inline constexpr std::wstring_view programLine = L"program";
inline constexpr std::wstring_view stagingLine = L"staging";
inline constexpr std::wstring_view backupLine = L"backup";
inline constexpr std::wstring_view madeJournalLine = L"folder";  // a full path
inline constexpr std::wstring_view backedUpLine = L"saved";     // relative to the program directory
inline constexpr std::wstring_view movedInLine = L"placed";     // relative to the program directory
inline constexpr std::wstring_view finishedLine = L"done";

enum class Recovery {
    none,      // no journal: nothing was under way
    finished,  // the replacement had put every file in place; only its backup is left to remove
    undone,    // every step recorded is undone: the program is as it was before
    damaged,   // a step could not be undone; the journal must be kept for another try
};

// Undoes the steps of the journal's text in reverse. A step announced but never taken (the
// journal is written first) and a step already undone (by the updater itself, or by an earlier
// recovery cut short) are skipped, so recovering twice does no harm. A last line without its
// line break was being written when the replacement stopped: its step was never taken.
Recovery RecoverReplacement(ReplacementFiles& files, std::wstring_view journal);

// The path of the journal's line of that kind (programLine, stagingLine, backupLine); empty when
// it has none.
std::wstring JournalFolder(std::wstring_view journal, std::wstring_view kind);

}  // namespace update
