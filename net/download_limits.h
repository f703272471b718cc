// How long a download may wait and how far it may be redirected. Plain numbers,
// no platform header: the window's WinInet download and the command-line
// collector both keep to them.
#pragma once

// WinHTTP's documented defaults (WinHttpSetTimeouts), which WinInet on Windows
// also keeps to; Wine's WinInet applies none, so they are set explicitly.
constexpr unsigned long download_connect_timeout_ms = 60000;
constexpr unsigned long download_send_timeout_ms = 30000;
constexpr unsigned long download_receive_timeout_ms = 30000;
// WinHTTP's documented default for automatic redirects.
constexpr int download_redirect_limit = 10;
