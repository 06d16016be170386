#include "update/replacement.h"

#include "update/replacement_journal.h"

#include <algorithm>
#include <string_view>

namespace update {
namespace {

constexpr std::wstring_view updaterFolderName = L"升级文件";

struct Step {
    enum Kind { madeFolder, backedUp, movedIn } kind;
    std::wstring path;  // a made folder's full path, else the file's relative one
};

std::wstring Join(const std::wstring& folder, std::wstring_view relative) {
    return folder + L"\\" + std::wstring(relative);
}

class Replacement {
public:
    Replacement(ReplacementFiles& files, const ReplacementFolders& folders, ReplacementJournal* journal)
        : files_(files), folders_(folders), journal_(journal) {}

    // The journal's line for a step goes to the disk before the step is taken.
    bool Announce(std::wstring_view kind, const std::wstring& path) {
        return journal_ == nullptr || journal_->Append(JournalLine(kind, path));
    }

    bool Put(const std::wstring& relative) {
        for (std::size_t end = relative.find(L'\\'); end != std::wstring::npos; end = relative.find(L'\\', end + 1)) {
            const std::wstring folder = relative.substr(0, end);
            if (!MakeFolders(folder)) return false;
        }
        const std::wstring target = Join(folders_.program, relative);
        if (files_.Exists(target)) {
            if (files_.IsFolder(target) || !Announce(backedUpLine, relative)) return false;
            if (!files_.Move(target, Join(folders_.backup, relative))) return false;
            steps_.push_back({Step::backedUp, relative});
        }
        if (!Announce(movedInLine, relative) || !files_.Move(Join(folders_.staging, relative), target)) return false;
        steps_.push_back({Step::movedIn, relative});
        return true;
    }

    // Every step in reverse; false when one of them could not be undone.
    bool Undo() {
        bool whole = true;
        for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
            const std::wstring target = Join(folders_.program, step->path);
            switch (step->kind) {
            case Step::madeFolder: whole = files_.RemoveFolder(step->path) && whole; break;
            case Step::backedUp: whole = files_.Move(Join(folders_.backup, step->path), target) && whole; break;
            case Step::movedIn: whole = files_.Move(target, Join(folders_.staging, step->path)) && whole; break;
            }
        }
        steps_.clear();
        return whole;
    }

private:
    // The folder in the program directory and its twin in the backup folder.
    bool MakeFolders(const std::wstring& relative) {
        return MakeFolder(Join(folders_.backup, relative)) && MakeFolder(Join(folders_.program, relative));
    }

    bool MakeFolder(const std::wstring& path) {
        if (files_.Exists(path)) return files_.IsFolder(path);
        if (!Announce(madeJournalLine, path) || !files_.MakeFolder(path)) return false;
        steps_.push_back({Step::madeFolder, path});
        return true;
    }

    ReplacementFiles& files_;
    const ReplacementFolders& folders_;
    ReplacementJournal* journal_;
    std::vector<Step> steps_;
};

}  // namespace

bool InUpdaterFolder(const std::wstring& relativePath) {
    const std::wstring_view first = std::wstring_view(relativePath).substr(0, relativePath.find(L'\\'));
    // A short name such as "B1C6~1" may stand for the folder too.
    return first == updaterFolderName || first.find(L'~') != std::wstring_view::npos;
}

ReplaceOutcome ReplaceFiles(ReplacementFiles& files, const ReplacementFolders& folders,
                            std::span<const std::wstring> stagedFiles, ReplacementJournal* journal) {
    if (std::any_of(stagedFiles.begin(), stagedFiles.end(), InUpdaterFolder)) return ReplaceOutcome::refused;
    Replacement replacement(files, folders, journal);
    if (!replacement.Announce(programLine, folders.program) || !replacement.Announce(stagingLine, folders.staging) ||
        !replacement.Announce(backupLine, folders.backup)) {
        return ReplaceOutcome::rolledBack;
    }
    for (const std::wstring& relative : stagedFiles) {
        if (!replacement.Put(relative)) {
            return replacement.Undo() ? ReplaceOutcome::rolledBack : ReplaceOutcome::damaged;
        }
    }
    // Without this line a later recovery would take the whole update back, which is safe too.
    if (journal != nullptr) journal->Append(finishedLine);
    return ReplaceOutcome::replaced;
}

}  // namespace update
