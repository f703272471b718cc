// The command-line collector's downloads: libcurl's multi interface drives a
// few transfers at once on one thread, so a batch of pages costs about as long
// as its slowest few, not the sum of all.
#include "cli/download.h"

#include <curl/curl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "net/download_limits.h"
#include "net/user_agent.h"

namespace {

// Enough to hide each page's round trips without weighing on one server.
constexpr std::size_t concurrent_transfers = 4;

struct MultiCleanup {
    void operator()(CURLM* multi) const noexcept { curl_multi_cleanup(multi); }
};
struct EasyCleanup {
    void operator()(CURL* easy) const noexcept { curl_easy_cleanup(easy); }
};
struct ListFree {
    void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};
struct UrlCleanup {
    void operator()(CURLU* url) const noexcept { curl_url_cleanup(url); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using HeaderList = std::unique_ptr<curl_slist, ListFree>;
using UrlHandle = std::unique_ptr<CURLU, UrlCleanup>;

struct Transfer {
    std::size_t index;
    UrlHandle address;  // the request reads it until the transfer ends
    EasyHandle easy;
    Download download;
    bool body_too_large = false;
    char error[CURL_ERROR_SIZE] = "";
};

std::size_t append_body(char* bytes, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    // A ByteSet counts in 32 bits: past that (or past the heap) the page is lost.
    if (length > UINT32_MAX ||
        !transfer->download.body.try_append(bytes, static_cast<std::uint32_t>(length))) {
        transfer->body_too_large = true;
        return 0;
    }
    return length;
}

// The fields every request carries besides the user agent. "no-cache": like
// the window's reload flag, a fresh copy even through a caching proxy.
HeaderList request_headers() {
    HeaderList list(curl_slist_append(nullptr, "Accept: */*"));
    if (list && !curl_slist_append(list.get(), "Pragma: no-cache")) list.reset();
    return list;
}

long whole_seconds(long ms) { return (ms + 999) / 1000; }

// The part of an address that libcurl holds, or the empty string.
std::string url_part(CURLU* url, CURLUPart part) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, 0) != CURLUE_OK) return "";
    std::string copy = text;
    curl_free(text);
    return copy;
}

// Null unless the address is an http or https one with a host. Blanks are
// sent as %20, as the window's WinInet sends them.
UrlHandle web_address(const std::string& address) {
    std::string escaped;
    for (char c : address) {
        if (c == ' ') {
            escaped += "%20";
        } else {
            escaped += c;
        }
    }
    UrlHandle url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, escaped.c_str(), 0) != CURLUE_OK) return nullptr;
    const std::string scheme = url_part(url.get(), CURLUPART_SCHEME);
    if ((scheme != "http" && scheme != "https") || url_part(url.get(), CURLUPART_HOST).empty())
        return nullptr;
    return url;
}

EasyHandle start_request(Transfer& transfer, curl_slist* headers, const DownloadTimeouts& timeouts) {
    EasyHandle easy(curl_easy_init());
    if (!easy) return easy;
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_CURLU, transfer.address.get());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    curl_easy_setopt(e, CURLOPT_USERAGENT, download_user_agent);
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, static_cast<long>(download_redirect_limit));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connect_ms);
    // libcurl has no receive time-out as such: a transfer that moves less than
    // a byte a second for that long has waited that long for its next byte.
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, whole_seconds(timeouts.receive_ms));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &append_body);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, transfer.error);
    curl_easy_setopt(e, CURLOPT_PRIVATE, &transfer);
    return easy;
}

// Why a transfer failed, in words a person can act on.
std::string failure_of(CURLcode code, const Transfer& transfer, const DownloadTimeouts& timeouts) {
    CURL* e = transfer.easy.get();
    const std::string received = std::to_string(transfer.download.body.size()) + " bytes";
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST: return "host not found";
    case CURLE_COULDNT_CONNECT: {
        long os_error = 0;
        curl_easy_getinfo(e, CURLINFO_OS_ERRNO, &os_error);
        return std::string("could not connect: ") +
               (os_error ? std::strerror(static_cast<int>(os_error)) : transfer.error);
    }
    case CURLE_OPERATION_TIMEDOUT: {
        curl_off_t connected_after = 0;
        curl_easy_getinfo(e, CURLINFO_CONNECT_TIME_T, &connected_after);
        if (connected_after == 0)
            return "timed out after " + std::to_string(whole_seconds(timeouts.connect_ms)) + " s connecting";
        return "timed out after " + std::to_string(whole_seconds(timeouts.receive_ms)) + " s without data, " +
               received + " received";
    }
    case CURLE_TOO_MANY_REDIRECTS:
        return "more than " + std::to_string(download_redirect_limit) + " redirects";
    case CURLE_UNSUPPORTED_PROTOCOL: return "redirected to an address that is not http or https";
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING: return "connection broke off after " + received;
    case CURLE_WRITE_ERROR:
        if (transfer.body_too_large) return "page too large for memory after " + received;
        break;
    default: break;
    }
    return transfer.error[0] ? transfer.error : curl_easy_strerror(code);
}

}  // namespace

DownloadTimeouts download_timeouts() {
    DownloadTimeouts timeouts = {static_cast<long>(download_connect_timeout_ms),
                                 static_cast<long>(download_receive_timeout_ms)};
    // For tests only: a stalled server must not cost them half a minute.
    if (const char* test_ms = std::getenv("WT_TEST_DOWNLOAD_TIMEOUT_MS")) {
        const long ms = std::strtol(test_ms, nullptr, 10);
        if (ms > 0) timeouts = {ms, ms};
    }
    return timeouts;
}

void download_all(const std::vector<std::string>& addresses, const DownloadTimeouts& timeouts,
                  const std::function<void(std::size_t index, Download&& download)>& finished) {
    MultiHandle multi(curl_multi_init());
    const HeaderList headers = request_headers();
    std::vector<std::unique_ptr<Transfer>> running;
    std::size_t next = 0;

    auto fail = [&](std::size_t index, std::string why) {
        Download download;
        download.failure = std::move(why);
        finished(index, std::move(download));
    };
    auto start_more = [&] {
        for (; next < addresses.size() && running.size() < concurrent_transfers; ++next) {
            auto transfer = std::make_unique<Transfer>();
            transfer->index = next;
            transfer->address = web_address(addresses[next]);
            if (!transfer->address) {
                fail(next, "not an http or https address");
                continue;
            }
            transfer->easy = start_request(*transfer, headers.get(), timeouts);
            if (!multi || !headers || !transfer->easy ||
                curl_multi_add_handle(multi.get(), transfer->easy.get()) != CURLM_OK) {
                fail(next, "libcurl could not start the request");
                continue;
            }
            running.push_back(std::move(transfer));
        }
    };

    start_more();
    while (!running.empty()) {
        int still_running = 0;
        curl_multi_perform(multi.get(), &still_running);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
            if (message->msg != CURLMSG_DONE) continue;
            Transfer* done = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &done);
            const CURLcode code = message->data.result;
            curl_easy_getinfo(done->easy.get(), CURLINFO_RESPONSE_CODE, &done->download.status);
            if (code != CURLE_OK) done->download.failure = failure_of(code, *done, timeouts);
            curl_multi_remove_handle(multi.get(), done->easy.get());
            finished(done->index, std::move(done->download));
            for (auto it = running.begin(); it != running.end(); ++it) {
                if (it->get() == done) {
                    running.erase(it);
                    break;
                }
            }
        }
        start_more();
        if (!running.empty()) curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr);
    }
}
