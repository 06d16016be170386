// HTTP GETs from the update server through WinINet, bounded in size and in time: a server that
// never answers, trickles or sends without end holds the caller no longer than its deadline.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "ui/handles_win.h"
#include "update/update_server.h"

namespace update {

inline void CloseInternetHandle(HINTERNET handle) { InternetCloseHandle(handle); }

// A session, connection or request handle.
using InternetHandle = ui::UniqueHandle<ui::NullableTraits<HINTERNET, CloseInternetHandle>>;

inline constexpr wchar_t userAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// Pieces of a body: Content-Length + 1 bytes, so that the read that finds the end is the second
// one, but no more than largestPiece; defaultPiece without a usable Content-Length.
inline constexpr std::size_t largestPiece = 102400;
inline constexpr std::size_t defaultPiece = 10240;

// A session for requests to the server: a direct connection (no proxy) with the server's
// timeout for connecting, sending and each wait for data. Empty when WinINet cannot start.
InternetHandle OpenSession(const UpdateServer& server);

enum class Transfer {
    Complete,  // the server ended the body within the cap and the deadline
    Failed,    // no connection, a failed request or read (a timeout included), or stopped by the sink
    TooLarge,  // the body, announced or as sent, is larger than the cap
    TimedOut,  // the deadline passed first; the request was abandoned
};

// Takes each piece of the body as it arrives. It runs on the request's worker thread, never on
// the caller's, and the caller's deadline waits for a call already under way: it should be quick
// (hash, write to a file). Returning false stops the transfer.
using BodySink = std::function<bool(std::span<const std::uint8_t> piece)>;

// GET of path (UTF-8; percent-encoded here) from server.host:server.port over plain HTTP/1.0
// with "Accept: */*", always from the server and never into the cache, without cookies,
// redirects or any dialog. The body is delivered whatever the status code. No more than
// maxBytes are ever passed to the sink; a body that is longer is TooLarge.
// The whole request, connecting included, ends for the caller within server.deadlineMs: it runs
// on a worker thread of the system's thread pool, and when the deadline passes first the caller returns TimedOut and the
// sink is called no more. The worker then makes no further call and closes the handles itself
// once its current call has ended, within server.timeoutMs.
Transfer HttpFetch(const UpdateServer& server, std::string_view path, std::uint64_t maxBytes,
                   const BodySink& sink);

struct HttpBody {
    std::vector<std::uint8_t> bytes;  // what arrived, even when incomplete
    bool complete = false;            // Transfer::Complete
};

// HttpFetch into memory.
HttpBody HttpGet(const UpdateServer& server, std::string_view path, std::size_t maxBytes);

struct HttpGetRequest {
    std::string_view path;
    std::size_t maxBytes;
};

// Several HttpGets made at the same time, all within one server.deadlineMs; the bodies in the
// order of the requests.
std::vector<HttpBody> HttpGetAll(const UpdateServer& server, std::span<const HttpGetRequest> requests);

}  // namespace update
