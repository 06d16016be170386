#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "update/replacement.h"
#include "update/replacement_journal.h"

namespace {

using update::Recovery;

struct PowerLoss {};

// Files, folders and the journal on one disk whose power goes after a number of writes, tearing
// the journal line being written.
struct Disk final : update::ReplacementFiles, update::ReplacementJournal {
    std::map<std::wstring, std::string> files;
    std::set<std::wstring> folders;
    std::wstring journal;
    int writesLeft = 1000;
    void Write() {
        if (writesLeft-- == 0) throw PowerLoss{};
    }
    bool Exists(const std::wstring& path) override { return files.contains(path) || folders.contains(path); }
    bool IsFolder(const std::wstring& path) override { return folders.contains(path); }
    bool MakeFolder(const std::wstring& path) override { return Write(), folders.insert(path).second; }
    bool RemoveFolder(const std::wstring& path) override { return Write(), folders.erase(path) == 1; }
    bool Move(const std::wstring& from, const std::wstring& to) override {
        Write();
        if (!files.contains(from) || Exists(to)) return false;
        files[to] = files[from];
        return files.erase(from) == 1;
    }
    bool Append(std::wstring_view line) override {
        if (writesLeft == 0) journal += line.substr(0, line.size() / 2);
        Write();
        return journal += std::wstring(line) + L"\n", true;
    }
};

const update::ReplacementFolders folders{L"P", L"P\\升级文件\\s", L"P\\升级文件\\backup"};

TEST(RecoverReplacement, PutsBackExactlyWhatWasThereWhereverTheReplacementOrTheRecoveryStopped) {
    Disk before;
    before.folders = {L"P", L"P\\升级文件", L"P\\升级文件\\s", L"P\\升级文件\\s\\资源", L"P\\升级文件\\backup"};
    before.files = {{L"P\\墨舟.exe", "old"}, {L"P\\说明.txt", "old notes"}, {L"P\\升级文件\\s\\墨舟.exe", "new"},
                    {L"P\\升级文件\\s\\说明.txt", "new notes"}, {L"P\\升级文件\\s\\资源\\a.dll", "dll"}};
    const std::vector<std::wstring> staged = {L"墨舟.exe", L"资源\\a.dll", L"说明.txt"};
    for (int cut = 0;; ++cut) {
        Disk disk = before;
        disk.writesLeft = cut;
        try {
            EXPECT_EQ(update::ReplaceFiles(disk, folders, staged, &disk), update::ReplaceOutcome::replaced);
            EXPECT_EQ(update::RecoverReplacement(disk, disk.journal), Recovery::finished);
            EXPECT_EQ(disk.files.at(L"P\\墨舟.exe"), "new");
            break;
        } catch (const PowerLoss&) {}
        for (int secondCut = 0;; ++secondCut) {
            Disk again = disk;
            again.writesLeft = secondCut;
            try {
                EXPECT_NE(update::RecoverReplacement(again, again.journal), Recovery::damaged);
                EXPECT_EQ(again.folders, before.folders) << cut << " " << secondCut;
                EXPECT_EQ(again.files, before.files) << cut << " " << secondCut;
                break;
            } catch (const PowerLoss&) {
                again.writesLeft = 1000;
                EXPECT_NE(update::RecoverReplacement(again, again.journal), Recovery::damaged);
                EXPECT_EQ(again.files, before.files) << cut << " " << secondCut;
            }
        }
        if (cut == 12) {  // the new program moved in cannot leave, so the old one cannot come back
            disk.files[L"P\\升级文件\\s\\墨舟.exe"] = "in the way";
            EXPECT_EQ(update::RecoverReplacement(disk, disk.journal), Recovery::damaged);
        }
    }
}

}  // namespace
