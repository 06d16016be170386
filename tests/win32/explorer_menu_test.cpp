#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "app/explorer_menu.h"
#include "app/explorer_menu_win.h"
#include "ui/text_win.h"

namespace {

constexpr wchar_t classesPath[] = L"Software\\Classes";
const std::wstring program = L"C:\\Program Files\\墨舟 测试\\墨舟.exe";
const std::wstring shellPath = L"Software\\Classes\\SystemFileAssociations\\";

// Every key and value under the key, by path: "key" for a key, "key|name" for a value.
void Collect(HKEY parent, const std::wstring& path, std::map<std::wstring, std::wstring>& tree) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    tree[path] = L"";
    wchar_t name[256];
    BYTE data[2048];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256, size = sizeof data, type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        tree[path + L"|" + name] = std::to_wstring(type) + L":" +
                                   std::wstring(reinterpret_cast<wchar_t*>(data), size / 2);
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        Collect(parent, path + L"\\" + name, tree);
    }
    RegCloseKey(key);
}
std::map<std::wstring, std::wstring> Classes() {
    std::map<std::wstring, std::wstring> tree;
    Collect(HKEY_CURRENT_USER, classesPath, tree);
    return tree;
}

std::optional<std::wstring> Default(const std::wstring& extension, const std::wstring& verb) {
    wchar_t text[512];
    DWORD size = sizeof text;
    const std::wstring path = shellPath + extension + L"\\shell\\" + verb;
    return RegGetValueW(HKEY_CURRENT_USER, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text,
                        &size) == ERROR_SUCCESS ? std::optional<std::wstring>(text) : std::nullopt;
}

TEST(ExplorerMenu, WritesBothVerbsForEveryExtensionAndRemovalLeavesNoTrace) {
    const auto before = Classes();
    ASSERT_FALSE(app::ReadExplorerMenu(program).any);
    ASSERT_EQ(app::AddExplorerMenu(program), 0u);
    for (const std::string_view extension : app::ExplorerMenuExtensions()) {
        const std::wstring ext = ui::Widen(extension);
        EXPECT_EQ(Default(ext, L"墨舟打印"), L"用墨舟打印") << ext;
        EXPECT_EQ(Default(ext, L"墨舟打印\\command"), app::ExplorerPrintCommand(program)) << ext;
        EXPECT_EQ(Default(ext, L"printto\\command"), app::ExplorerPrintToCommand(program)) << ext;
    }
    EXPECT_TRUE(app::ReadExplorerMenu(program).complete);
    EXPECT_FALSE(app::ReadExplorerMenu(L"D:\\elsewhere\\墨舟.exe").complete);
    EXPECT_EQ(app::RemoveExplorerMenu(program), 0u);
    EXPECT_EQ(Classes(), before);
    EXPECT_FALSE(app::ReadExplorerMenu(program).any);
}

// Another program's verbs stay as they were; a program moved elsewhere takes its verbs along.
TEST(ExplorerMenu, LeavesOtherProgramsVerbsAndFollowsAMovedProgram) {
    const auto pristine = Classes();
    const std::wstring viewerPrintTo = L"\"C:\\viewer.exe\" /pt \"%1\" \"%2\" \"%3\" \"%4\"";
    for (const auto& [key, command] : {std::pair(L".png\\shell\\open\\command", L"viewer.exe"),
                                       std::pair(L".gif\\shell\\printto\\command", viewerPrintTo.c_str())}) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (shellPath + key).c_str(), nullptr, REG_SZ,
                                  command, static_cast<DWORD>((wcslen(command) + 1) * 2)), ERROR_SUCCESS);
    }
    const auto before = Classes();
    ASSERT_EQ(app::AddExplorerMenu(L"D:\\old\\墨舟.exe"), 0u);
    ASSERT_EQ(app::AddExplorerMenu(program), 0u);
    EXPECT_EQ(Default(L".png", L"printto\\command"), app::ExplorerPrintToCommand(program));
    EXPECT_EQ(Default(L".gif", L"printto\\command"), viewerPrintTo);
    EXPECT_EQ(Default(L".gif", L"墨舟打印\\command"), app::ExplorerPrintCommand(program));
    EXPECT_EQ(app::RemoveExplorerMenu(program), 0u);
    EXPECT_EQ(Classes(), before);

    for (const wchar_t* extension : {L".png", L".gif"}) {
        RegDeleteTreeW(HKEY_CURRENT_USER, (shellPath + extension).c_str());
    }
    for (const wchar_t* key : {L"Software\\Classes\\SystemFileAssociations", classesPath}) {
        if (!pristine.contains(key)) RegDeleteKeyW(HKEY_CURRENT_USER, key);
    }
}

}  // namespace
