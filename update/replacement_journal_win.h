// The replacement's journal on disk, in the updater's folder, and the recovery from a replacement
// cut short, run when the updater or the program starts.
#pragma once

#include <string>
#include <string_view>

#include "ui/handles_win.h"
#include "update/replacement_journal.h"

namespace update {

// The journal of the updater folder given.
std::wstring JournalPath(const std::wstring& updaterFolder);

// A new journal, held open and unshared while it exists: a recovery that finds it held leaves it
// alone, as the replacement it records is still under way.
class JournalFile final : public ReplacementJournal {
public:
    explicit JournalFile(const std::wstring& path);
    bool Opened() const { return static_cast<bool>(file_); }
    // UTF-16, each line written through to the disk before this returns.
    bool Append(std::wstring_view line) override;

private:
    ui::KernelHandle file_;
};

// Undoes the replacement the updater folder's journal records, unless it finished. When nothing
// is left to keep, the journal and the backup folder go; after a damaged recovery both stay,
// and the next start tries again. A journal held by a running updater is left alone (none).
Recovery RecoverInterruptedReplacement(const std::wstring& updaterFolder);

// The same for the updater folder in the program directory, where the updater works; for the
// program's start.
void RecoverInterruptedUpdate();

}  // namespace update
