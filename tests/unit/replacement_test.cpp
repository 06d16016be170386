#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "update/replacement.h"

namespace {

using update::ReplaceOutcome;

// Files and folders by full path; a move or folder to a path in failing fails, once.
struct Disk final : update::ReplacementFiles {
    std::map<std::wstring, std::string> files;
    std::set<std::wstring> folders;
    std::set<std::wstring> failing;
    bool Exists(const std::wstring& path) override { return files.contains(path) || folders.contains(path); }
    bool IsFolder(const std::wstring& path) override { return folders.contains(path); }
    bool Fails(const std::wstring& path) { return failing.erase(path) == 1; }
    bool MakeFolder(const std::wstring& path) override { return !Fails(path) && folders.insert(path).second; }
    bool RemoveFolder(const std::wstring& path) override { return folders.erase(path) == 1; }
    bool Move(const std::wstring& from, const std::wstring& to) override {
        if (Fails(to) || !files.contains(from) || Exists(to)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
};

const update::ReplacementFolders folders{L"P", L"P\\升级文件\\temp\\s", L"P\\升级文件\\backup"};

Disk ProgramWithStagedUpdate() {
    Disk disk;
    disk.folders = {L"P", L"P\\升级文件", L"P\\升级文件\\temp", L"P\\升级文件\\temp\\s", L"P\\升级文件\\temp\\s\\资源",
                    L"P\\升级文件\\backup"};
    disk.files = {{L"P\\墨舟.exe", "old"},
                  {L"P\\打印机图", "picture"},
                  {L"P\\升级文件\\temp\\s\\墨舟.exe", "new"},
                  {L"P\\升级文件\\temp\\s\\资源\\a.dll", "dll"}};
    return disk;
}

const std::vector<std::wstring> staged = {L"墨舟.exe", L"资源\\a.dll"};

TEST(ReplaceFiles, MovesEveryStagedFileInAndKeepsTheReplacedOnesInTheBackupFolder) {
    Disk disk = ProgramWithStagedUpdate();
    EXPECT_EQ(update::ReplaceFiles(disk, folders, staged), ReplaceOutcome::replaced);
    EXPECT_EQ(disk.files[L"P\\墨舟.exe"], "new");
    EXPECT_EQ(disk.files[L"P\\资源\\a.dll"], "dll");
    EXPECT_EQ(disk.files[L"P\\升级文件\\backup\\墨舟.exe"], "old");
    EXPECT_EQ(disk.files[L"P\\打印机图"], "picture");
}

TEST(ReplaceFiles, UndoesEveryStepWhenOneFailsLeavingTheProgramAsItWas) {
    for (const std::wstring& failing : {L"P\\资源", L"P\\资源\\a.dll", L"P\\墨舟.exe"}) {
        Disk disk = ProgramWithStagedUpdate();
        const Disk before = disk;
        disk.failing = {failing};
        EXPECT_EQ(update::ReplaceFiles(disk, folders, staged), ReplaceOutcome::rolledBack) << failing;
        EXPECT_EQ(disk.files, before.files) << failing;
        EXPECT_EQ(disk.folders, before.folders) << failing;
    }
    Disk disk = ProgramWithStagedUpdate();
    disk.failing = {L"P\\资源\\a.dll", L"P\\升级文件\\temp\\s\\墨舟.exe"};  // nor can it go back
    EXPECT_EQ(update::ReplaceFiles(disk, folders, staged), ReplaceOutcome::damaged);
}

TEST(ReplaceFiles, RefusesToTouchTheUpdatersOwnFolderOrAFolderInTheWay) {
    Disk disk = ProgramWithStagedUpdate();
    const Disk before = disk;
    for (const std::wstring& path : {L"升级文件\\update.exe", L"B1C6~1\\update.exe"}) {
        EXPECT_EQ(update::ReplaceFiles(disk, folders, std::vector{staged[0], path}), ReplaceOutcome::refused);
    }
    disk.folders.insert(L"P\\资源\\a.dll");
    EXPECT_EQ(update::ReplaceFiles(disk, folders, staged), ReplaceOutcome::rolledBack);
    disk.folders.erase(L"P\\资源\\a.dll");
    EXPECT_EQ(disk.files, before.files);
}

}  // namespace
