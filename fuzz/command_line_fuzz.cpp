// Fuzzes the updater's command line: splitting any text reads nothing outside it, and arguments
// joined into a command line, whole or cut to a length, split back into the same ones.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "update/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<wchar_t> units;  // UTF-16, two bytes each
    for (std::size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    update::SplitCommandLine(std::wstring_view(units.data(), units.size()));

    std::vector<std::wstring> arguments(1);  // the unit 1 separates them
    for (const wchar_t unit : units) unit == 1 ? arguments.emplace_back() : arguments.back() += unit;
    const std::wstring joined = update::JoinCommandLine(arguments);
    if (joined.empty()) return 0;
    if (update::SplitCommandLine(joined) != arguments) std::abort();

    const std::size_t longest = size > 0 ? joined.size() - data[0] % joined.size() : joined.size();
    const std::wstring cut = update::JoinCommandLineWithin(arguments, longest);
    if (cut.size() > longest) std::abort();
    if (cut.empty()) return 0;
    const std::vector<std::wstring> back = update::SplitCommandLine(cut);
    if (back.size() != arguments.size() || !std::equal(back.begin(), back.end() - 1, arguments.begin()) ||
        !arguments.back().starts_with(back.back())) {
        std::abort();
    }
    return 0;
}
