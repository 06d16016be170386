// One update check as 检测升级 makes it (the manifest and its signature fetched together with
// their caps and deadline on pool threads, then verified and judged) beside a baseline measured in the
// same run: bare WinINet GETs of the same two files on the caller's thread, with nothing checked.
// The difference is what the caps, the deadline's worker thread and the signature cost; it should
// stay within goalRatio of the baseline. The server is the tests' update server on 127.0.0.1,
// started by tools/run-bench.sh with a signed manifest on it.
//
// Usage: bench_update_check [rounds]
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/text_win.h"
#include "update/internet_win.h"
#include "update/manifest.h"
#include "update/request_path.h"
#include "update/update_rules.h"
#include "update/update_server.h"

namespace {

constexpr int defaultRounds = 50;
constexpr double goalRatio = 1.2;
constexpr double currentVersion = 3.2;

double NowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The check's own request flags: never cached, no cookies, no dialogs, no redirects.
constexpr DWORD bareFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                            INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT;

// What any WinINet client does for one GET: open, connect, request, read to the end.
std::vector<std::uint8_t> BareGet(const update::UpdateServer& server, std::string_view path) {
    std::vector<std::uint8_t> body;
    update::InternetHandle session(
        InternetOpenW(update::userAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    update::InternetHandle connection(InternetConnectW(session.get(), ui::Widen(server.host).c_str(),
                                                       server.port, nullptr, nullptr,
                                                       INTERNET_SERVICE_HTTP, 0, 0));
    const std::wstring object = ui::Widen(update::PercentEncodedPath(path));
    const wchar_t* acceptTypes[] = {L"*/*", nullptr};
    update::InternetHandle request(HttpOpenRequestW(connection.get(), L"GET", object.c_str(),
                                                    L"HTTP/1.0", nullptr, acceptTypes,
                                                    bareFlags, 0));
    if (!request || !HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) return body;
    std::uint8_t buffer[update::defaultPiece];
    DWORD got = 0;
    while (InternetReadFile(request.get(), buffer, sizeof(buffer), &got) && got > 0) {
        body.insert(body.end(), buffer, buffer + got);
    }
    return body;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : defaultRounds;
    const update::UpdateServer& server = update::BuiltInUpdateServer();

    // Both ways must see the same files, and the check must find them signed and newer.
    const update::HttpBody manifest = update::HttpGet(server, update::manifestPath, update::maxManifestBytes);
    const update::HttpBody signature =
        update::HttpGet(server, update::manifestSignaturePath, update::maxSignatureBytes);
    if (BareGet(server, update::manifestPath) != manifest.bytes || !manifest.complete ||
        update::JudgeManifest(manifest.bytes, signature.bytes, server.publicKey, currentVersion).verdict !=
            update::Verdict::Offer) {
        std::fprintf(stderr, "bench_update_check: no signed, newer manifest on the update server\n");
        return 1;
    }

    const update::HttpGetRequest requests[] = {
        {update::manifestPath, update::maxManifestBytes},
        {update::manifestSignaturePath, update::maxSignatureBytes},
    };
    std::vector<double> checks;
    std::vector<double> bare;
    for (int round = 0; round < rounds; ++round) {  // interleaved, so both see the same machine
        double start = NowMs();
        const std::vector<update::HttpBody> bodies = update::HttpGetAll(server, requests);
        const update::Judgement judgement =
            update::JudgeManifest(bodies[0].bytes, bodies[1].bytes, server.publicKey, currentVersion);
        checks.push_back(NowMs() - start);
        if (judgement.verdict != update::Verdict::Offer) return 1;

        start = NowMs();
        const std::size_t bytes = BareGet(server, update::manifestPath).size() +
                                  BareGet(server, update::manifestSignaturePath).size();
        bare.push_back(NowMs() - start);
        if (bytes == 0) return 1;
    }
    const double check = Median(checks);
    const double baseline = Median(bare);
    const double ratio = check / baseline;
    std::printf("update check (manifest + signature + judgement): median %.2f ms over %d rounds\n", check,
                rounds);
    std::printf("bare WinINet GETs of the same two files:         median %.2f ms\n", baseline);
    std::printf("ratio %.2f (goal <= %.1f): %s\n", ratio, goalRatio, ratio <= goalRatio ? "met" : "NOT MET");
    return 0;
}
