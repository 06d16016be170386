// Putting the staged files of an update in place of the program's files, all or nothing.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace update {

class ReplacementJournal;

// The file operations the replacement needs, on full paths with backslashes.
class ReplacementFiles {
public:
    virtual ~ReplacementFiles() = default;
    virtual bool Exists(const std::wstring& path) = 0;
    virtual bool IsFolder(const std::wstring& path) = 0;
    virtual bool MakeFolder(const std::wstring& path) = 0;
    // Removes an empty folder.
    virtual bool RemoveFolder(const std::wstring& path) = 0;
    // Moves a file to a name nothing has yet.
    virtual bool Move(const std::wstring& from, const std::wstring& to) = 0;
};

struct ReplacementFolders {
    std::wstring program;  // the program directory
    std::wstring staging;  // where the update was unpacked
    std::wstring backup;   // where replaced files are kept until the end; empty at the start
};

enum class ReplaceOutcome {
    replaced,
    refused,     // a file would go into the updater's own folder; nothing was touched
    rolledBack,  // a step failed and every step before it was undone
    // A step failed and undoing failed too: files the update moved away may still lie in the
    // backup folder, which must then be kept.
    damaged,
};

// Whether a path relative to the program directory lies in the updater's folder "升级文件",
// which the update must not change while the updater runs from it. A first folder with a '~'
// counts too, as it could be the folder's short name.
bool InUpdaterFolder(const std::wstring& relativePath);

// For each staged file (relative, backslashes, safe), in order: makes the folders it needs in
// the program directory, moves the file it replaces into the backup folder, then moves it in.
// A folder in the way is a failure. On the first failure the steps are undone in reverse. With a
// journal, the folders and each step are written to it before the step is taken, and a last line
// once every file is in place; a journal that cannot be written is a failed step.
ReplaceOutcome ReplaceFiles(ReplacementFiles& files, const ReplacementFolders& folders,
                            std::span<const std::wstring> stagedFiles, ReplacementJournal* journal = nullptr);

}  // namespace update
