// The steps of http_get_body that stand on their own: the session, reading the
// address, sizing the chunk and the read loop. Tests drive them directly.
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

// The receive chunk from the Content-Length header's text, null when the
// server sent none that fits the header buffer.
std::uint32_t receive_chunk_size(const char* content_length);
// The room to make for the body before reading, from the same header: the
// announced length while it is plausible, else 0 (grow as bytes arrive).
std::uint32_t expected_body_size(const char* content_length);

using ReadChunk = decltype(&InternetReadFile);
// Reads the body to its end in chunks of the size given. A failed read, or a
// body that the heap can no longer enlarge, ends the loop with what arrived.
// The expected size only reserves room: it neither limits nor checks the body.
ByteSet read_body(HINTERNET request, std::uint32_t chunk_size, std::uint32_t expected_size,
                  ReadChunk read = &InternetReadFile);
