#include "app/explorer_menu.h"

#include <gtest/gtest.h>

#include "update/command_line.h"

namespace {

TEST(ExplorerMenu, CommandsQuoteTheProgramAndEveryPlaceholder) {
    const std::wstring program = L"C:\\Program Files\\墨舟 工具\\墨舟.exe";
    EXPECT_EQ(app::ExplorerPrintCommand(program),
              L"\"C:\\Program Files\\墨舟 工具\\墨舟.exe\" /p \"%1\"");
    EXPECT_EQ(app::ExplorerPrintToCommand(program),
              L"\"C:\\Program Files\\墨舟 工具\\墨舟.exe\" /pt \"%1\" \"%2\" \"%3\" \"%4\"");
    // Explorer puts a file name with spaces in for %1; the program gets it back as one argument.
    std::wstring command = app::ExplorerPrintToCommand(program);
    command.replace(command.find(L"%1"), 2, L"D:\\my files\\a b.txt");
    command.replace(command.find(L"%2"), 2, L"HP LaserJet");
    EXPECT_EQ(update::SplitCommandLine(command),
              (std::vector<std::wstring>{program, L"/pt", L"D:\\my files\\a b.txt", L"HP LaserJet",
                                         L"%3", L"%4"}));
}
}  // namespace
