// Runs a program as a shell script would: arguments, standard input, and what
// it wrote to standard output and standard error, with its exit status.
#pragma once

#include <string>
#include <vector>

struct ProgramRun {
    int exit_code = -1;  // -1 when it did not end normally
    std::string out;
    std::string err;       // empty when standard error was a terminal
    std::string terminal;  // what it wrote to standard error, when that was a terminal
};

struct ProgramInput {
    std::vector<std::string> arguments;
    std::string standard_input;
    std::vector<std::string> environment;  // NAME=value added to this process's own
    bool error_to_terminal = false;        // standard error on a pseudo-terminal
};

ProgramRun run_program(const std::string& program, const ProgramInput& input);
