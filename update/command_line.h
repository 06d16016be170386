// The command line that starts the updater, written so that the updater, reading it with
// CommandLineToArgvW, gets back exactly the arguments it was given.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace update {

// One argument as CommandLineToArgvW reads it back. A non-empty argument without spaces, tabs,
// line breaks and quotes stays bare; any other is put in quotes, each quote inside escaped with
// a backslash, and backslashes doubled where they come before a quote (an inner one or the
// closing one). A doubled quote is never used to stand for a quote.
std::wstring QuoteArgument(std::wstring_view argument);

// The program path followed by its arguments, separated by single spaces. The program path is
// read without any escaping, so it is put in plain quotes; a program path holding a quote cannot
// be written, and neither can any argument holding a NUL: both, like no arguments at all, give
// an empty command line.
std::wstring JoinCommandLine(std::span<const std::wstring> arguments);

// The longest command line CreateProcess takes: 32,767 characters with its terminating zero.
inline constexpr std::size_t longestCommandLine = 32766;

// JoinCommandLine, with the last argument cut short when the whole would be longer than longest:
// it keeps as many of its characters as fit, and a pair of surrogates stays whole or goes
// whole. Empty when the arguments before it alone do not fit.
std::wstring JoinCommandLineWithin(std::span<const std::wstring> arguments,
                                   std::size_t longest = longestCommandLine);

// Reads a command line the way CommandLineToArgvW does:
// - The program path is read first: from an opening quote to the next quote, or else up to the
//   first space or tab; backslashes in it are plain characters.
// - Arguments are separated by spaces and tabs outside quotes; quotes open and close quoted parts
//   and are dropped.
// - 2n backslashes before a quote give n backslashes and the quote opens or closes a quoted part;
//   2n+1 give n backslashes and a literal quote; backslashes before anything else stay as they are.
// - Inside a quoted part, two quotes in a row give one literal quote and the part goes on (the
//   rule of the C runtime since Visual C++ 2008; older parsers end the quoted part there, which
//   is why QuoteArgument never writes a doubled quote).
// An empty command line gives no arguments (CommandLineToArgvW would give the running program's
// own path).
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

}  // namespace update
