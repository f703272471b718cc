// The program's start-up skinning without its window: fixes the run directory,
// applies each skin number given on the command line, then ends as the program
// does, releasing the bound libraries.
#include <cstdlib>

#include "runtime/external_function_table.h"
#include "runtime/run_directory.h"
#include "skin/skin.h"

int main(int argc, char** argv) {
    fix_run_directory();
    for (int i = 1; i < argc; ++i) apply_skin(std::atoi(argv[i]));
    release_external_libraries();
    return 0;
}
