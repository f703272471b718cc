// pellom-collect: the window's collection from the command line, for many play
// pages at once, with a reason on standard error for every page that gives none.
#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/collect_page.h"
#include "cli/download.h"
#include "cli/output_folder.h"
#include "text/transcode.h"

namespace {

constexpr int every_address_gave_episodes = 0;
constexpr int some_address_gave_none = 1;
constexpr int usage_error = 2;

const char usage[] =
    "usage: pellom-collect [--utf-8] [--output DIR] ADDRESS...\n"
    "       pellom-collect [--utf-8] [--output DIR] < addresses   (one a line)\n"
    "Writes each play page's episode list in GBK (--utf-8: in UTF-8) to standard\n"
    "output, or with --output one file per page into DIR, named from its title.\n"
    "Exit status: 0 every address gave episodes, 1 some gave none, 2 usage error.\n";

struct Options {
    bool utf8 = false;
    std::optional<std::string> folder;
    std::vector<std::string> addresses;
};

int usage_failure(const std::string& why) {
    std::fprintf(stderr, "pellom-collect: %s\n%s", why.c_str(), usage);
    return usage_error;
}

// Empty when the arguments are sound, else the complaint.
std::string read_arguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--utf-8") {
            options.utf8 = true;
        } else if (argument == "--output") {
            if (++i == argc) return "--output needs a folder";
            options.folder = argv[i];
        } else if (argument.compare(0, 9, "--output=") == 0) {
            options.folder = argument.substr(9);
        } else if (argument.size() > 1 && argument[0] == '-') {
            return "unknown option " + argument;
        } else {
            options.addresses.push_back(argument);
        }
    }
    if (options.folder && options.folder->empty()) return "--output needs a folder";
    return "";
}

// One address a line; blanks around it and empty lines are not part of any address.
std::vector<std::string> addresses_from(std::istream& input) {
    std::vector<std::string> addresses;
    for (std::string line; std::getline(input, line);) {
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        addresses.push_back(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
    }
    return addresses;
}

std::string utf8_of(const Text& gbk, bool* converted) {
    const ByteSet utf8 = transcode(ByteSet(gbk.c_str(), gbk.length()), "GBK", "UTF-8", converted);
    return std::string(reinterpret_cast<const char*>(utf8.data()), utf8.size());
}

// Where each finished page goes, in the order the addresses were given.
class Delivery {
public:
    Delivery(const Options& options, std::size_t count)
        : options_(options), pages_(count), progress_(isatty(STDERR_FILENO) == 1) {}

    void finished(std::size_t index, PageList&& page) {
        pages_[index] = std::move(page);
        ++finished_count_;
        // The progress line is cleared first: a list or a reason may share its terminal.
        clear_progress();
        while (next_ < pages_.size() && pages_[next_]) {
            deliver(options_.addresses[next_], *pages_[next_]);
            pages_[next_].reset();  // a batch keeps only the pages still waiting for earlier ones
            ++next_;
        }
        std::fflush(stdout);
        if (progress_ && finished_count_ < pages_.size())
            std::fprintf(stderr, "collected %zu of %zu", finished_count_, pages_.size());
    }

    int exit_code() const { return failed_ ? some_address_gave_none : every_address_gave_episodes; }

private:
    void deliver(const std::string& address, const PageList& page) {
        if (!page.failure.empty()) return report(address, page.failure);
        std::string bytes(page.list.c_str(), page.list.length());
        if (options_.utf8) {
            bool converted = false;
            bytes = utf8_of(page.list, &converted);
            if (!converted) return report(address, "the list has no UTF-8 form");
        }
        if (!options_.folder) {
            std::fwrite(bytes.data(), 1, bytes.size(), stdout);
            return;
        }
        bool converted = false;
        std::string title = utf8_of(page.title, &converted);
        if (!converted) title.clear();
        const std::string name = unused_file_name(title, used_names_);
        const std::string failure = write_whole_file(*options_.folder, name, bytes.data(), bytes.size());
        if (!failure.empty()) report(address, "cannot write " + name + ": " + failure);
    }

    void report(const std::string& address, const std::string& why) {
        std::fprintf(stderr, "pellom-collect: %s: %s\n", address.c_str(), why.c_str());
        failed_ = true;
    }

    // Only for a person watching: a terminal, never a log file.
    void clear_progress() const {
        if (progress_) std::fputs("\r\033[K", stderr);
    }

    const Options& options_;
    std::vector<std::optional<PageList>> pages_;
    std::set<std::string> used_names_;
    std::size_t next_ = 0;
    std::size_t finished_count_ = 0;
    const bool progress_;
    bool failed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return every_address_gave_episodes;
    }
    const std::string complaint = read_arguments(argc, argv, options);
    if (!complaint.empty()) return usage_failure(complaint);
    if (options.addresses.empty()) options.addresses = addresses_from(std::cin);
    if (options.addresses.empty()) return usage_failure("no address given");
    if (options.folder) {
        const std::string unusable = prepare_output_folder(*options.folder);
        if (!unusable.empty()) return usage_failure("cannot write into " + *options.folder + ": " + unusable);
    }

    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        std::fputs("pellom-collect: libcurl would not start\n", stderr);
        return some_address_gave_none;
    }
    Delivery delivery(options, options.addresses.size());
    download_all(options.addresses, download_timeouts(), [&](std::size_t index, Download&& download) {
        delivery.finished(index, collect_page(download));
    });
    curl_global_cleanup();
    return delivery.exit_code();
}
