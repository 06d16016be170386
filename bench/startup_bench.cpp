// Start-up time: from process creation until the program's main window is visible, median of
// several runs, beside the same figure for Wine's own notepad measured in the same run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int defaultRuns = 10;
constexpr DWORD startTimeoutMs = 120000;
constexpr DWORD pollIntervalMs = 1;

struct Search {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds until a visible top-level window of the started program exists, or -1.
double TimeToWindow(const std::wstring& program, const std::wstring& directory) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        return -1;
    }
    double elapsed = -1;
    Search search{process.dwProcessId, false};
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(startTimeoutMs)) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            break;
        }
        if (WaitForSingleObject(process.hProcess, pollIntervalMs) == WAIT_OBJECT_0) break;
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, startTimeoutMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::wstring DirectoryOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: bench_startup <program.exe> [runs] [baseline.exe]\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : defaultRuns;
    wchar_t windowsDir[MAX_PATH];
    GetWindowsDirectoryW(windowsDir, MAX_PATH);
    const std::wstring baseline = argc > 3 ? argv[3] : std::wstring(windowsDir) + L"\\notepad.exe";

    std::vector<double> ours;
    std::vector<double> theirs;
    // Alternate the two programs so that load on the machine hits both alike.
    for (int run = 0; run < runs; ++run) {
        const double a = TimeToWindow(program, DirectoryOf(program));
        const double b = TimeToWindow(baseline, DirectoryOf(baseline));
        if (a < 0 || b < 0) {
            std::fwprintf(stderr, L"run %d: a program did not show a window\n", run + 1);
            return 1;
        }
        ours.push_back(a);
        theirs.push_back(b);
    }
    const double oursMedian = Median(ours);
    const double theirsMedian = Median(theirs);
    std::wprintf(L"startup to visible window, median of %d runs\n", runs);
    std::wprintf(L"  program   %9.1f ms\n", oursMedian);
    std::wprintf(L"  notepad   %9.1f ms\n", theirsMedian);
    std::wprintf(L"  ratio     %9.2f (goal <= 1.00)\n", oursMedian / theirsMedian);
    return 0;
}
