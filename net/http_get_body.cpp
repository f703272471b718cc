// The page download: one blocking HTTP GET over WinInet, the body taken
// whatever the status, every failure turned into an empty (or short) result,
// and every wait for the server bounded as it is on Windows.
#include "net/http_get_body.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "net/download_limits.h"
#include "net/download_steps.h"
#include "net/internet_handle.h"
#include "net/user_agent.h"
#include "text/heap.h"

InternetSession internet_session;

namespace {

const DWORD canonical_buffer_size = 2084;
const std::uint32_t small_chunk = 10240;
const std::uint32_t largest_chunk = 102400;
// Always a fresh copy from the server, and none left in the cache. Do NOT add
// keep-alive, cookie or certificate flags: the page must come as a browser of
// that age would have fetched it.
const DWORD http_flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
// The one flag added when the request is opened. Redirects are still followed,
// but here, one request per hop, each sent as the first: Wine's WinInet follows
// them inside HttpSendRequestA with no limit, and nothing a status callback can
// do ends that loop (closing the handle does not, and time-outs set from the
// callback only lose a race with a fast server).
const DWORD redirects_followed_here = INTERNET_FLAG_NO_AUTO_REDIRECT;
const DownloadTimeouts windows_timeouts = {download_connect_timeout_ms, download_send_timeout_ms,
                                           download_receive_timeout_ms};
// WinInet knows services 1 to 3; a scheme it cannot serve gets one it refuses.
const DWORD unknown_service = 0;

// Leading blanks and a sign accepted, reading stops at the first other
// character; 0 when there is no header.
long announced_length(const char* content_length) {
    return content_length ? std::strtol(content_length, nullptr, 10) : 0;
}

HINTERNET open_internet_session() {
    if (!internet_session.handle) {
        internet_session.handle =
            InternetOpenA(download_user_agent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    }
    return internet_session.handle;
}

// Results ignored: a platform that refuses them still downloads.
void set_proxy_options(HINTERNET session, HINTERNET connection) {
    INTERNET_PROXY_INFO proxy = {INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
    InternetSetOptionA(session, INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
    char empty[] = "";
    InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME, empty, 1);
    InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD, empty, 1);
}

// On the connection, before the request is opened: Wine's request takes its
// time-outs from the connection then, and without them waits for ever on a
// server that stops answering. Results ignored, as for the proxy options.
void set_timeouts(HINTERNET connection, const DownloadTimeouts& timeouts) {
    const struct {
        DWORD option;
        DWORD milliseconds;
    } settings[] = {{INTERNET_OPTION_CONNECT_TIMEOUT, timeouts.connect},
                    {INTERNET_OPTION_SEND_TIMEOUT, timeouts.send},
                    {INTERNET_OPTION_RECEIVE_TIMEOUT, timeouts.receive}};
    for (auto setting : settings)
        InternetSetOptionA(connection, setting.option, &setting.milliseconds, sizeof setting.milliseconds);
}

// The statuses Wine's WinInet follows when left to itself.
bool is_followed_redirect(DWORD status) {
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT ||
           status == HTTP_STATUS_REDIRECT_METHOD || status == HTTP_STATUS_REDIRECT_KEEP_VERB;
}

// Where the response sends the client next, resolved against the address
// requested as WinInet resolves it, into `next` (INTERNET_MAX_URL_LENGTH bytes).
// False when the response is no redirect to follow or names no usable location:
// its own body is then the page. Wine combines addresses in buffers of that
// length which a longer one overruns (the heap corruption was seen here), so
// neither address nor their combination may reach it.
bool redirect_address(HINTERNET request, const char* requested_address, char* next) {
    DWORD status = 0;
    DWORD status_size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &status_size,
                        nullptr) ||
        !is_followed_redirect(status) || std::strlen(requested_address) >= INTERNET_MAX_URL_LENGTH)
        return false;
    char location[INTERNET_MAX_URL_LENGTH];
    DWORD location_size = sizeof location;
    if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location, &location_size, nullptr)) return false;
    DWORD size = INTERNET_MAX_URL_LENGTH;
    return InternetCombineUrlA(requested_address, location, next, &size, ICU_NO_ENCODE) != FALSE;
}

// One request and the connection it belongs to; closing the connection would
// end the request too, so both live until the body has been read.
struct Exchange {
    InternetHandle connection;
    InternetHandle request;
};

// One GET of an address in canonical form, sent and answered up to the end of
// the response headers; no request handle on any failure.
Exchange send_request(const char* address, const DownloadTimeouts& timeouts) {
    Exchange exchange;
    RequestTarget target;
    if (!read_request_target(address, target)) return exchange;

    HINTERNET session = open_internet_session();
    if (!session) return exchange;
    exchange.connection.reset(InternetConnectA(session, target.host, target.port, target.user,
                                               target.password, target.service, 0, 0));
    if (!exchange.connection) return exchange;
    set_proxy_options(session, exchange.connection.get());
    set_timeouts(exchange.connection.get(), timeouts);

    // The blank before CR LF is what this client has always sent.
    const char* accept_types[] = {"Accept: */* \r\n", nullptr};
    exchange.request.reset(HttpOpenRequestA(exchange.connection.get(), "GET", target.object, "HTTP/1.0",
                                            nullptr, accept_types, target.flags | redirects_followed_here,
                                            0));
    if (!exchange.request) return exchange;
    static const char accept_header[] = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(exchange.request.get(), accept_header, sizeof accept_header - 1, nullptr, 0))
        exchange.request.reset();
    return exchange;
}

// The exchange whose response is the page: the first that is no redirect to
// follow. No request handle when a hop fails, or when the server redirects
// once more after download_redirect_limit redirects.
Exchange send_following_redirects(HeapBuffer address, const DownloadTimeouts& timeouts) {
    for (int redirects = 0;; ++redirects) {
        HeapBuffer next(static_cast<char*>(heap_try_alloc(INTERNET_MAX_URL_LENGTH)));
        if (!next) return Exchange();
        Exchange exchange = send_request(address.get(), timeouts);
        if (!exchange.request) return exchange;
        if (!redirect_address(exchange.request.get(), address.get(), next.get())) return exchange;
        if (redirects == download_redirect_limit) return Exchange();
        address = std::move(next);
    }
}

}  // namespace

// Heap, not stack: on exhaustion the download fails instead of the process.
HeapBuffer canonical_address(const char* address) {
    DWORD size = canonical_buffer_size;
    HeapBuffer canonical(static_cast<char*>(heap_try_alloc(size)));
    if (!canonical) return nullptr;
    if (InternetCanonicalizeUrlA(address, canonical.get(), &size, ICU_NO_ENCODE)) return canonical;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return nullptr;
    canonical.reset(static_cast<char*>(heap_try_alloc(size)));
    if (!canonical) return nullptr;
    if (InternetCanonicalizeUrlA(address, canonical.get(), &size, ICU_NO_ENCODE)) return canonical;
    return nullptr;
}

bool read_request_target(const char* address, RequestTarget& target) {
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = target.host;
    parts.dwHostNameLength = sizeof target.host;
    parts.lpszUrlPath = target.object;
    parts.dwUrlPathLength = sizeof target.object;
    parts.lpszUserName = target.user;
    parts.dwUserNameLength = sizeof target.user;
    parts.lpszPassword = target.password;
    parts.dwPasswordLength = sizeof target.password;
    target.host[0] = target.object[0] = target.user[0] = target.password[0] = '\0';
    if (!InternetCrackUrlA(address, 0, 0, &parts)) return false;

    if (char* fragment = std::strchr(target.object, '#')) *fragment = '\0';
    target.port = parts.nPort;
    target.flags = http_flags;
    switch (parts.nScheme) {
    case INTERNET_SCHEME_HTTPS:
        target.service = INTERNET_SERVICE_HTTP;
        target.flags |= INTERNET_FLAG_SECURE;
        break;
    case INTERNET_SCHEME_HTTP: target.service = INTERNET_SERVICE_HTTP; break;
    case INTERNET_SCHEME_FTP: target.service = INTERNET_SERVICE_FTP; break;
    case INTERNET_SCHEME_GOPHER: target.service = INTERNET_SERVICE_GOPHER; break;
    default: target.service = unknown_service; break;
    }
    return true;
}

std::uint32_t receive_chunk_size(const char* content_length) {
    long announced = announced_length(content_length);
    if (announced <= 0) return small_chunk;
    if (announced >= static_cast<long>(largest_chunk)) return largest_chunk;
    return static_cast<std::uint32_t>(announced) + 1;
}

std::uint32_t expected_body_size(const char* content_length) {
    long announced = announced_length(content_length);
    return announced > 0 ? static_cast<std::uint32_t>(announced) : 0;
}

std::uint32_t body_capacity(std::uint32_t held, std::uint32_t chunk_size, std::uint32_t expected_size) {
    const std::uint64_t least = std::uint64_t(held) + chunk_size;
    std::uint64_t capacity = std::max<std::uint64_t>(body_growth * std::uint64_t(held), first_body_room);
    if (held < expected_size)
        capacity = std::min<std::uint64_t>(capacity, std::uint64_t(expected_size) + chunk_size);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(std::max(capacity, least), UINT32_MAX));
}

ByteSet read_body(HINTERNET request, std::uint32_t chunk_size, std::uint32_t expected_size, ReadChunk read) {
    // For the reads that the heap gives the body no room for.
    HeapBuffer chunk(static_cast<char*>(heap_try_alloc(chunk_size)));
    ByteSet body;
    if (!chunk) return body;
    DWORD count = 0;
    for (;;) {
        // Refused room only means reading through the chunk and appending.
        if (body.spare_size() < chunk_size)
            body.try_reserve(body_capacity(body.size(), chunk_size, expected_size));
        const bool in_place = body.spare_size() >= chunk_size;
        void* destination = in_place ? static_cast<void*>(body.spare_room()) : chunk.get();
        if (!read(request, destination, chunk_size, &count) || count == 0) break;
        if (in_place) {
            body.commit(count);
        } else if (!body.try_append(chunk.get(), count)) {
            break;  // a body the heap cannot hold ends like a broken transfer: with what arrived
        }
    }
    body.shrink_to_fit();
    return body;
}

ByteSet http_get_body(const Text& address, const DownloadTimeouts& timeouts) {
    if (address.empty()) return ByteSet();
    HeapBuffer canonical = canonical_address(address.c_str());
    if (!canonical) return ByteSet();
    Exchange exchange = send_following_redirects(std::move(canonical), timeouts);
    if (!exchange.request) return ByteSet();
    HINTERNET request = exchange.request.get();

    char content_length[32];
    DWORD length_size = sizeof content_length;
    bool announced =
        HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, content_length, &length_size, nullptr);
    const char* length = announced ? content_length : nullptr;
    return read_body(request, receive_chunk_size(length), expected_body_size(length));
}

ByteSet http_get_body(const Text& address) { return http_get_body(address, windows_timeouts); }
