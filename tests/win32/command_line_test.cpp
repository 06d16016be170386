#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "update/command_line.h"

namespace {

std::vector<std::wstring> SystemSplit(const std::wstring& line) {
    int count = 0;
    wchar_t** const split = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> arguments(split, split + (split != nullptr ? count : 0));
    LocalFree(split);
    return arguments;
}

TEST(CommandLineToArgvW, ReadsJoinedAndHandWrittenLinesAsSplitCommandLineDoes) {
    const std::vector<std::wstring> arguments = {LR"(C:\Program Files\墨舟\updater.exe)",
        L"接力口令", L"墨舟 \"正式版\"", LR"(C:\my dir\)", LR"(a\\"b)", L"", L"\t", L"\"\""};
    EXPECT_EQ(SystemSplit(update::JoinCommandLine(arguments)), arguments);
    const std::wstring lines[] = {update::JoinCommandLine(arguments), L"  \"a b\"c",
        LR"("C:\a b\x" a\\\"b "c d" e\\f g\\"h i")", L"C:\\a\"b\tc  \"\" \t"};
    for (const std::wstring& line : lines) {
        EXPECT_EQ(update::SplitCommandLine(line), SystemSplit(line)) << line;
    }
}

}  // namespace
