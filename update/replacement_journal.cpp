#include "update/replacement_journal.h"

#include <vector>

namespace update {
namespace {

struct Line {
    std::wstring_view kind;
    std::wstring path;
};

// The complete lines of the journal; a torn last line is left out.
std::vector<Line> ReadLines(std::wstring_view journal) {
    std::vector<Line> lines;
    for (std::size_t end = journal.find(L'\n'); end != std::wstring_view::npos; end = journal.find(L'\n')) {
        const std::wstring_view line = journal.substr(0, end);
        journal.remove_prefix(end + 1);
        const std::size_t space = line.find(L' ');
        lines.push_back({line.substr(0, space),
                         space == std::wstring_view::npos ? std::wstring() : std::wstring(line.substr(space + 1))});
    }
    return lines;
}

std::wstring Join(const std::wstring& folder, const std::wstring& relative) { return folder + L"\\" + relative; }

class Recoverer {
public:
    explicit Recoverer(ReplacementFiles& files) : files_(files) {}

    // Whether the step is undone now or was never taken.
    bool Undo(const Line& line) {
        if (line.kind == madeJournalLine) return !files_.Exists(line.path) || files_.RemoveFolder(line.path);
        if (line.kind == backedUpLine) {
            const std::wstring saved = Join(backup, line.path);
            if (!files_.Exists(saved)) return true;
            const std::wstring target = Join(program, line.path);
            return !files_.Exists(target) && files_.Move(saved, target);
        }
        if (line.kind == movedInLine) {
            const std::wstring staged = Join(staging, line.path);
            const std::wstring target = Join(program, line.path);
            if (files_.Exists(staged) || !files_.Exists(target)) return true;
            return files_.Move(target, staged);
        }
        return true;
    }

    std::wstring program;
    std::wstring staging;
    std::wstring backup;

private:
    ReplacementFiles& files_;
};

}  // namespace

std::wstring JournalLine(std::wstring_view kind, const std::wstring& path) {
    std::wstring line(kind);
    if (!path.empty()) line += L' ' + path;
    return line;
}

std::wstring JournalFolder(std::wstring_view journal, std::wstring_view kind) {
    for (const Line& line : ReadLines(journal)) {
        if (line.kind == kind) return line.path;
    }
    return {};
}

Recovery RecoverReplacement(ReplacementFiles& files, std::wstring_view journal) {
    const std::vector<Line> lines = ReadLines(journal);
    if (lines.empty()) return Recovery::none;
    if (lines.back().kind == finishedLine) return Recovery::finished;
    Recoverer recoverer(files);
    recoverer.program = JournalFolder(journal, programLine);
    recoverer.staging = JournalFolder(journal, stagingLine);
    recoverer.backup = JournalFolder(journal, backupLine);
    // Without its folders the journal was cut before any step was announced.
    if (recoverer.program.empty() || recoverer.staging.empty() || recoverer.backup.empty()) return Recovery::undone;
    bool whole = true;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) whole = recoverer.Undo(*line) && whole;
    return whole ? Recovery::undone : Recovery::damaged;
}

}  // namespace update
