#include "update/command_line.h"

#include <algorithm>
#include <cstddef>

#include "ui/unicode.h"

namespace update {
namespace {

constexpr wchar_t quote = L'"';
constexpr wchar_t backslash = L'\\';
constexpr wchar_t space = L' ';
constexpr wchar_t tab = L'\t';
// Line breaks do not separate arguments for CommandLineToArgvW, but quoting them costs nothing
// and keeps the argument whole for readers that split at any white space.
constexpr std::wstring_view needsQuotes = L" \t\n\v\"";

bool IsSeparator(wchar_t character) { return character == space || character == tab; }

bool QuoteAt(std::wstring_view text, std::size_t position) {
    return position < text.size() && text[position] == quote;
}

std::size_t SkipSeparators(std::wstring_view text, std::size_t position) {
    while (position < text.size() && IsSeparator(text[position])) ++position;
    return position;
}

// The program path and where the arguments after it start.
std::size_t ReadProgramPath(std::wstring_view commandLine, std::wstring& path) {
    if (commandLine.front() == quote) {
        const std::size_t closing = commandLine.find(quote, 1);
        const std::size_t end = closing == std::wstring_view::npos ? commandLine.size() : closing;
        path.assign(commandLine.substr(1, end - 1));
        return std::min(end + 1, commandLine.size());
    }
    std::size_t end = 0;
    while (end < commandLine.size() && !IsSeparator(commandLine[end])) ++end;
    path.assign(commandLine.substr(0, end));
    return end;
}

}  // namespace

std::wstring QuoteArgument(std::wstring_view argument) {
    if (!argument.empty() && argument.find_first_of(needsQuotes) == std::wstring_view::npos) {
        return std::wstring(argument);
    }
    std::wstring quoted(1, quote);
    std::size_t backslashes = 0;
    for (const wchar_t character : argument) {
        if (character == backslash) {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and one more escapes the quote itself.
        const std::size_t written = character == quote ? backslashes * 2 + 1 : backslashes;
        quoted.append(written, backslash);
        quoted += character;
        backslashes = 0;
    }
    // Trailing backslashes come before the closing quote, so they are doubled too.
    quoted.append(backslashes * 2, backslash);
    quoted += quote;
    return quoted;
}

std::wstring JoinCommandLine(std::span<const std::wstring> arguments) {
    if (arguments.empty() || arguments.front().find(quote) != std::wstring::npos) return {};
    const auto holdsNul = [](const std::wstring& argument) {
        return argument.find(L'\0') != std::wstring::npos;
    };
    if (std::any_of(arguments.begin(), arguments.end(), holdsNul)) return {};
    std::wstring commandLine = quote + arguments.front() + quote;
    for (const std::wstring& argument : arguments.subspan(1)) {
        commandLine += space;
        commandLine += QuoteArgument(argument);
    }
    return commandLine;
}

std::wstring JoinCommandLineWithin(std::span<const std::wstring> arguments, std::size_t longest) {
    std::wstring whole = JoinCommandLine(arguments);
    if (whole.size() <= longest || arguments.empty()) return whole;
    std::vector<std::wstring> cut(arguments.begin(), arguments.end());
    const std::wstring last = std::move(cut.back());
    const auto fits = [&](std::size_t kept) {
        cut.back().assign(last, 0, kept);
        return JoinCommandLine(cut).size() <= longest;
    };
    // The quoted length grows with every character kept: the longest prefix that fits is found
    // by halving.
    std::size_t fitting = 0;
    std::size_t tooLong = last.size();
    if (!fits(0)) return {};
    while (tooLong - fitting > 1) {
        const std::size_t middle = fitting + (tooLong - fitting) / 2;
        (fits(middle) ? fitting : tooLong) = middle;
    }
    const bool splitsPair = fitting > 0 && ui::IsHighSurrogate(last[fitting - 1]);
    fits(splitsPair ? fitting - 1 : fitting);
    return JoinCommandLine(cut);
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
    std::vector<std::wstring> arguments;
    if (commandLine.empty()) return arguments;
    std::wstring programPath;
    std::size_t position = SkipSeparators(commandLine, ReadProgramPath(commandLine, programPath));
    arguments.push_back(std::move(programPath));

    std::wstring argument;
    bool inArgument = false;
    bool inQuotes = false;
    while (position < commandLine.size()) {
        const wchar_t character = commandLine[position];
        if (IsSeparator(character) && !inQuotes) {
            arguments.push_back(std::move(argument));
            argument.clear();
            inArgument = false;
            position = SkipSeparators(commandLine, position);
            continue;
        }
        inArgument = true;
        if (character == backslash) {
            std::size_t backslashes = 0;
            while (position < commandLine.size() && commandLine[position] == backslash) {
                ++backslashes;
                ++position;
            }
            if (!QuoteAt(commandLine, position)) {
                argument.append(backslashes, backslash);
                continue;
            }
            argument.append(backslashes / 2, backslash);
            if (backslashes % 2 == 1) {
                argument += quote;
                ++position;
            }
            // With an even count the quote is read next as one that opens or closes.
            continue;
        }
        if (character == quote) {
            if (inQuotes && QuoteAt(commandLine, position + 1)) {
                argument += quote;
                position += 2;
                continue;
            }
            inQuotes = !inQuotes;
            ++position;
            continue;
        }
        argument += character;
        ++position;
    }
    if (inArgument) arguments.push_back(std::move(argument));
    return arguments;
}

}  // namespace update
