// fork and exec with three pipes (or a pseudo-terminal for standard error),
// read with poll so that neither output can fill up and stall the child.
#include "tests/cli/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// The loopback server must be reached directly, whatever proxy the machine names.
const char* const proxy_variables[] = {"http_proxy",  "https_proxy", "HTTP_PROXY",
                                       "HTTPS_PROXY", "all_proxy",   "ALL_PROXY"};

int open_terminal(int* secondary) {
    const int primary = posix_openpt(O_RDWR | O_NOCTTY);
    if (primary < 0 || grantpt(primary) != 0 || unlockpt(primary) != 0) return -1;
    *secondary = open(ptsname(primary), O_RDWR | O_NOCTTY);
    return *secondary < 0 ? -1 : primary;
}

}  // namespace

ProgramRun run_program(const std::string& program, const ProgramInput& input) {
    ProgramRun run;
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0) return run;
    if (input.error_to_terminal) {
        err[0] = open_terminal(&err[1]);
        if (err[0] < 0) return run;
    } else if (pipe(err) != 0) {
        return run;
    }
    std::vector<std::string> arguments = {program};
    arguments.insert(arguments.end(), input.arguments.begin(), input.arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(&argument[0]);
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        for (const char* name : proxy_variables) unsetenv(name);
        for (const std::string& variable : input.environment) putenv(const_cast<char*>(variable.c_str()));
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    for (std::size_t sent = 0; sent < input.standard_input.size();) {
        const ssize_t n =
            write(in[1], input.standard_input.data() + sent, input.standard_input.size() - sent);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
    close(in[1]);

    std::string& err_text = input.error_to_terminal ? run.terminal : run.err;
    pollfd fds[] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* texts[] = {&run.out, &err_text};
    for (int open_count = 2; open_count > 0;) {
        if (poll(fds, 2, -1) < 0 && errno != EINTR) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !fds[i].revents) continue;
            char piece[65536];
            const ssize_t n = read(fds[i].fd, piece, sizeof piece);
            if (n > 0) {
                texts[i]->append(piece, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {  // a terminal ends with EIO once the child is gone
                close(fds[i].fd);
                fds[i].fd = -1;
                --open_count;
            }
        }
    }
    int status = 0;
    if (waitpid(child, &status, 0) == child && WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    return run;
}
