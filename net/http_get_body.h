// The page download: one blocking HTTP GET over WinInet.
#pragma once

#include "text/text.h"

// The response body whatever the status; empty on failure, or the bytes that
// arrived before a read failed.
ByteSet http_get_body(const Text& address);
