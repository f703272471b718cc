// The steps of http_get_body that stand on their own: the session, reading the
// address, sizing the chunk and the read loop, and the download with time-outs
// of the caller's choice. Tests drive them directly.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>

#include "text/heap.h"
#include "text/text.h"

// The one WinInet session of the process: opened by the first download that
// needs it, retried while it fails, never closed (the process end releases it).
struct InternetSession {
    HINTERNET handle = nullptr;
};
extern InternetSession internet_session;

// The address in WinInet's canonical form, blanks and non-ASCII bytes left
// unescaped; null when the platform cannot read it or the heap is exhausted.
HeapBuffer canonical_address(const char* address);

// Where a request goes and how, read from an address in canonical form. The
// buffer sizes are the limits: a longer component makes the address unusable.
struct RequestTarget {
    char host[256];
    char object[2048];  // path and query, cut before any "#"
    char user[128];
    char password[128];
    INTERNET_PORT port;
    DWORD service;
    DWORD flags;
};
bool read_request_target(const char* address, RequestTarget& target);

// How long each stage of one exchange may wait for the server, in milliseconds.
struct DownloadTimeouts {
    DWORD connect;
    DWORD send;
    DWORD receive;  // for the response headers, and for each read of the body
};
// http_get_body with these time-outs instead of Windows' defaults, so that a test
// sees a stalled server end the download in a second rather than in half a minute.
ByteSet http_get_body(const Text& address, const DownloadTimeouts& timeouts);

// The receive chunk from the Content-Length header's text, null when the
// server sent none that fits the header buffer.
std::uint32_t receive_chunk_size(const char* content_length);
// The announced length from the same header, 0 when there is none: it only
// sizes the body's block (body_capacity), never limits or checks the body.
std::uint32_t expected_body_size(const char* content_length);

// The block to make for a body holding `held` bytes when fewer than a chunk are
// free, so that the next read lands in the body itself instead of being copied
// there: first_body_room, then body_growth times what arrived, never past the
// expected size and one chunk while the body is shorter, and always at least a
// chunk more. So a Content-Length that lies about a short body costs at most
// first_body_room, or body_growth times what arrived, plus a chunk. Under Wine
// every enlargement of a large block costs as much as writing it anew, which is
// why the steps are few and large; a 5 MB page gets one block.
std::uint32_t body_capacity(std::uint32_t held, std::uint32_t chunk_size, std::uint32_t expected_size);
constexpr std::uint32_t first_body_room = 8u << 20;
constexpr std::uint32_t body_growth = 8;

using ReadChunk = decltype(&InternetReadFile);
// Reads the body to its end in chunks of the size given. A failed read, or a
// body that the heap can no longer enlarge, ends the loop with what arrived.
ByteSet read_body(HINTERNET request, std::uint32_t chunk_size, std::uint32_t expected_size,
                  ReadChunk read = &InternetReadFile);
