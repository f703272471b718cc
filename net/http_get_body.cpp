// The page download: one blocking HTTP GET over WinInet, the body taken
// whatever the status, every failure turned into an empty (or short) result.
#include "net/http_get_body.h"

#include <cstdlib>
#include <cstring>

#include "net/download_steps.h"
#include "net/internet_handle.h"
#include "net/user_agent.h"
#include "text/heap.h"

InternetSession internet_session;

namespace {

const DWORD canonical_buffer_size = 2084;
const std::uint32_t small_chunk = 10240;
const std::uint32_t largest_chunk = 102400;
// A header may lie: past this the body is not reserved for, only grown.
const long largest_reservation = 64L << 20;
// Always a fresh copy from the server, and none left in the cache. Do NOT add
// keep-alive, redirect or certificate flags: the page must come as a browser
// of that age would have fetched it.
const DWORD http_flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
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
    if (announced <= 0 || announced > largest_reservation) return 0;
    return static_cast<std::uint32_t>(announced);
}

ByteSet read_body(HINTERNET request, std::uint32_t chunk_size, std::uint32_t expected_size, ReadChunk read) {
    HeapBuffer chunk(static_cast<char*>(heap_try_alloc(chunk_size)));
    ByteSet body;
    if (!chunk) return body;
    // Growing a large block moves it each time, which under Wine costs more than
    // the transfer itself; refused room only means growing as bytes arrive.
    body.try_reserve(expected_size);
    DWORD count = 0;
    // A body the heap cannot hold ends like a broken transfer: with what arrived.
    while (read(request, chunk.get(), chunk_size, &count) && count > 0) {
        if (!body.try_append(chunk.get(), count)) break;
    }
    body.shrink_to_fit();
    return body;
}

ByteSet http_get_body(const Text& address) {
    if (address.empty()) return ByteSet();
    HeapBuffer canonical = canonical_address(address.c_str());
    if (!canonical) return ByteSet();
    RequestTarget target;
    if (!read_request_target(canonical.get(), target)) return ByteSet();
    canonical.reset();

    HINTERNET session = open_internet_session();
    if (!session) return ByteSet();
    InternetHandle connection(InternetConnectA(session, target.host, target.port, target.user,
                                               target.password, target.service, 0, 0));
    if (!connection) return ByteSet();
    set_proxy_options(session, connection.get());

    // The blank before CR LF is what this client has always sent.
    const char* accept_types[] = {"Accept: */* \r\n", nullptr};
    InternetHandle request(HttpOpenRequestA(connection.get(), "GET", target.object, "HTTP/1.0", nullptr,
                                            accept_types, target.flags, 0));
    if (!request) return ByteSet();
    static const char accept_header[] = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(request.get(), accept_header, sizeof accept_header - 1, nullptr, 0)) {
        return ByteSet();
    }

    char content_length[32];
    DWORD length_size = sizeof content_length;
    bool announced =
        HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH, content_length, &length_size, nullptr);
    const char* length = announced ? content_length : nullptr;
    return read_body(request.get(), receive_chunk_size(length), expected_body_size(length));
}
