// Many play pages downloaded at once over libcurl, each with the window's
// request, time-outs and redirect cap.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "text/text.h"

struct Download {
    ByteSet body;         // the last response's body, whatever its status
    long status = 0;      // that response's HTTP status; 0 when none arrived
    std::string failure;  // why the transfer did not complete; empty when it did
};

struct DownloadTimeouts {
    long connect_ms;
    long receive_ms;  // the longest wait for the next byte, once connected
};
// The window's, unless the test-only WT_TEST_DOWNLOAD_TIMEOUT_MS shortens both.
DownloadTimeouts download_timeouts();

// Downloads every address, a few at a time, and hands each result to
// `finished` with its index as soon as it is complete (so not in order). An
// address that is not an http or https one (with a host) is handed back at
// once, failed, without a request.
void download_all(const std::vector<std::string>& addresses, const DownloadTimeouts& timeouts,
                  const std::function<void(std::size_t index, Download&& download)>& finished);
