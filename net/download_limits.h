// How long a download may wait and how far it may be redirected. Plain numbers,
// no platform header: the window's WinInet download and the command-line
// collector both keep to them.
#pragma once

// The time-outs are WinInet's own defaults on Windows, documented as Internet
// Explorer's per-machine settings (Windows unattended-setup reference,
// Microsoft-Windows-IE-ClientNetworkProtocolImplementation): HKLMConnectTimeOut
// 60000 ms, HKLMSendTimeOut 30000 ms, HKLMReceiveTimeOut 30000 ms. Wine's WinInet
// applies none, so they are set explicitly. WinInet documents no redirect limit;
// the cap is WinHTTP's documented default (WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS,
// WinHttpRequestOption_MaxAutomaticRedirects): 10 redirects followed.
constexpr unsigned long download_connect_timeout_ms = 60000;
constexpr unsigned long download_send_timeout_ms = 30000;
constexpr unsigned long download_receive_timeout_ms = 30000;
constexpr int download_redirect_limit = 10;
