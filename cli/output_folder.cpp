// Files of the output folder. POSIX calls: this is the Linux front end's own.
#include "cli/output_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Past this the name, with " (n).txt" and the temporary prefix and suffix,
// still fits the usual 255-byte limit of a file name.
constexpr std::size_t longest_title = 200;

bool unsafe_in_name(unsigned char byte) {
    // Control characters, the path separator, and what Windows refuses, since
    // these lists are often carried over to a Windows machine.
    return byte < 0x20 || byte == 0x7F || std::strchr("/\\:*?\"<>|", byte);
}

std::string title_stem(const std::string& title) {
    std::string stem;
    for (unsigned char byte : title) stem += unsafe_in_name(byte) ? '_' : static_cast<char>(byte);
    const std::size_t first = stem.find_first_not_of(' ');
    stem = first == std::string::npos ? "" : stem.substr(first, stem.find_last_not_of(' ') - first + 1);
    if (stem.size() > longest_title) {
        std::size_t cut = longest_title;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80)
            --cut;  // not inside a character
        stem.resize(cut);
    }
    if (!stem.empty() && stem[0] == '.') stem[0] = '_';  // no hidden files, no "." or ".."
    return stem.empty() ? "untitled" : stem;
}

std::string error_text() { return std::strerror(errno); }

mode_t file_mode() {
    static const mode_t mode = [] {
        const mode_t mask = umask(0);
        umask(mask);
        return 0666 & ~mask;
    }();
    return mode;
}

}  // namespace

std::string prepare_output_folder(const std::string& folder) {
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return error_text();
    struct stat status;
    if (stat(folder.c_str(), &status) != 0) return error_text();
    if (!S_ISDIR(status.st_mode)) return "not a folder";
    if (access(folder.c_str(), W_OK | X_OK) != 0) return error_text();
    return "";
}

std::string unused_file_name(const std::string& title, std::set<std::string>& used) {
    const std::string stem = title_stem(title);
    std::string name = stem + ".txt";
    for (int n = 2; used.count(name); ++n) name = stem + " (" + std::to_string(n) + ").txt";
    used.insert(name);
    return name;
}

std::string write_whole_file(const std::string& folder, const std::string& name, const void* bytes,
                             std::size_t count) {
    std::string temporary = folder + "/." + name + ".XXXXXX";
    const int file = mkstemp(&temporary[0]);
    if (file < 0) return error_text();
    std::string failure;
    for (std::size_t written = 0; written < count && failure.empty();) {
        const ssize_t n = write(file, static_cast<const char*>(bytes) + written, count - written);
        if (n < 0 && errno != EINTR) failure = error_text();
        if (n > 0) written += static_cast<std::size_t>(n);
    }
    // mkstemp makes the file private; a list file is as readable as any other.
    if (failure.empty() && fchmod(file, file_mode()) != 0) failure = error_text();
    if (close(file) != 0 && failure.empty()) failure = error_text();
    if (failure.empty() && rename(temporary.c_str(), (folder + "/" + name).c_str()) != 0)
        failure = error_text();
    if (!failure.empty()) unlink(temporary.c_str());
    return failure;
}
