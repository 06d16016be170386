#include "update/internet_win.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "ui/text_win.h"
#include "update/request_path.h"

namespace update {
namespace {

// Fetched from the server every time and kept out of the cache; no cookies, no dialogs, and a
// redirect is not followed to somewhere else.
constexpr DWORD requestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                               INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES |
                               INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT;

void SetTimeout(HINTERNET handle, DWORD option, DWORD milliseconds) {
    InternetSetOptionW(handle, option, &milliseconds, sizeof(milliseconds));
}

// The announced length, when the server sent one.
bool ContentLength(HINTERNET request, std::uint64_t& length) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &value, &size,
                        nullptr)) {
        return false;
    }
    length = value;
    return true;
}

// What the worker thread shares with the caller. The worker owns it with the caller until the
// caller gives up at the deadline; from then on the worker alone, which closes the handles.
struct Exchange {
    InternetHandle session;
    InternetHandle connection;
    InternetHandle request;
    std::uint64_t maxBytes = 0;
    const BodySink* sink = nullptr;  // the caller's, used only while the caller waits

    std::mutex mutex;
    std::condition_variable finished;
    bool abandoned = false;
    bool done = false;
    Transfer result = Transfer::Failed;

    // Hands a piece to the caller's sink unless the caller has stopped waiting.
    bool Deliver(std::span<const std::uint8_t> piece) {
        std::lock_guard lock(mutex);
        return !abandoned && (*sink)(piece);
    }
    bool Abandoned() {
        std::lock_guard lock(mutex);
        return abandoned;
    }
};

Transfer SendAndRead(Exchange& exchange) {
    HINTERNET request = exchange.request.get();
    if (!HttpSendRequestW(request, nullptr, 0, nullptr, 0)) return Transfer::Failed;

    std::size_t piece = defaultPiece;
    std::uint64_t announced = 0;
    if (ContentLength(request, announced)) {
        if (announced > exchange.maxBytes) return Transfer::TooLarge;
        piece = static_cast<std::size_t>(std::min<std::uint64_t>(announced + 1, largestPiece));
    }
    std::vector<std::uint8_t> buffer(piece);
    std::uint64_t received = 0;
    for (;;) {
        // One byte past the cap is enough to know the body is too large.
        const std::uint64_t room = exchange.maxBytes - received + 1;
        const auto wanted = static_cast<DWORD>(std::min<std::uint64_t>(piece, room));
        DWORD got = 0;
        if (exchange.Abandoned() || !InternetReadFile(request, buffer.data(), wanted, &got)) {
            return Transfer::Failed;
        }
        if (got == 0) return Transfer::Complete;
        received += got;
        if (received > exchange.maxBytes) return Transfer::TooLarge;
        if (!exchange.Deliver(std::span(buffer.data(), got))) return Transfer::Failed;
    }
}

void CALLBACK RunExchange(PTP_CALLBACK_INSTANCE, void* context) {
    const std::unique_ptr<std::shared_ptr<Exchange>> shared(
        static_cast<std::shared_ptr<Exchange>*>(context));
    Exchange& exchange = **shared;
    const Transfer result = SendAndRead(exchange);
    std::lock_guard lock(exchange.mutex);
    exchange.result = result;
    exchange.done = true;
    exchange.finished.notify_one();
}

using Deadline = std::chrono::steady_clock::time_point;

Deadline DeadlineOf(const UpdateServer& server) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(server.deadlineMs);
}

// Opens the request's handles on the caller's thread and hands the exchange to a pool thread (a
// thread of its own would cost as much as the request under Wine). Null when it cannot start.
std::shared_ptr<Exchange> Start(const UpdateServer& server, std::string_view path,
                                std::uint64_t maxBytes, const BodySink& sink) {
    InternetHandle session = OpenSession(server);
    if (!session) return nullptr;
    InternetHandle connection(InternetConnectW(session.get(), ui::Widen(server.host).c_str(),
                                               server.port, nullptr, nullptr, INTERNET_SERVICE_HTTP,
                                               0, 0));
    if (!connection) return nullptr;
    const std::wstring object = ui::Widen(PercentEncodedPath(path));
    const wchar_t* acceptTypes[] = {L"*/*", nullptr};
    InternetHandle request(HttpOpenRequestW(connection.get(), L"GET", object.c_str(), L"HTTP/1.0",
                                            nullptr, acceptTypes, requestFlags, 0));
    if (!request) return nullptr;
    // Wine takes the timeouts from the request, Windows from the session as well.
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        SetTimeout(request.get(), option, server.timeoutMs);
    }

    auto exchange = std::make_shared<Exchange>();
    exchange->session = std::move(session);
    exchange->connection = std::move(connection);
    exchange->request = std::move(request);
    exchange->maxBytes = maxBytes;
    exchange->sink = &sink;
    auto* shared = new std::shared_ptr<Exchange>(exchange);
    if (!TrySubmitThreadpoolCallback(RunExchange, shared, nullptr)) {
        delete shared;
        return nullptr;
    }
    return exchange;
}

// Waits for the exchange until the deadline.
Transfer Finish(Exchange* exchange, Deadline deadline) {
    if (exchange == nullptr) return Transfer::Failed;
    std::unique_lock lock(exchange->mutex);
    if (exchange->finished.wait_until(lock, deadline, [exchange] { return exchange->done; })) {
        return exchange->result;
    }
    // Wine does not end a blocked call when its handle is closed from another thread, so the
    // worker is left to end on its own: it uses the sink no more, makes no further call, and
    // its current call ends by the server's timeout at the latest.
    exchange->abandoned = true;
    return Transfer::TimedOut;
}

}  // namespace

InternetHandle OpenSession(const UpdateServer& server) {
    InternetHandle session(
        InternetOpenW(userAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session) return session;
    SetTimeout(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, server.timeoutMs);
    SetTimeout(session.get(), INTERNET_OPTION_SEND_TIMEOUT, server.timeoutMs);
    SetTimeout(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, server.timeoutMs);
    // One attempt: a retry would start the connect timeout over.
    SetTimeout(session.get(), INTERNET_OPTION_CONNECT_RETRIES, 1);
    return session;
}

Transfer HttpFetch(const UpdateServer& server, std::string_view path, std::uint64_t maxBytes,
                   const BodySink& sink) {
    const Deadline deadline = DeadlineOf(server);
    std::shared_ptr<Exchange> exchange = Start(server, path, maxBytes, sink);
    return Finish(exchange.get(), deadline);
}

HttpBody HttpGet(const UpdateServer& server, std::string_view path, std::size_t maxBytes) {
    const HttpGetRequest request{path, maxBytes};
    return std::move(HttpGetAll(server, std::span(&request, 1)).front());
}

std::vector<HttpBody> HttpGetAll(const UpdateServer& server,
                                 std::span<const HttpGetRequest> requests) {
    const Deadline deadline = DeadlineOf(server);
    std::vector<HttpBody> bodies(requests.size());
    std::vector<BodySink> sinks;
    sinks.reserve(requests.size());
    for (HttpBody& body : bodies) {
        sinks.emplace_back([&body](std::span<const std::uint8_t> piece) {
            body.bytes.insert(body.bytes.end(), piece.begin(), piece.end());
            return true;
        });
    }
    std::vector<std::shared_ptr<Exchange>> exchanges;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        exchanges.push_back(Start(server, requests[i].path, requests[i].maxBytes, sinks[i]));
    }
    for (std::size_t i = 0; i < requests.size(); ++i) {
        bodies[i].complete = Finish(exchanges[i].get(), deadline) == Transfer::Complete;
    }
    return bodies;
}

}  // namespace update
