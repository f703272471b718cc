// Entries of outside libraries, bound on first call and kept until the process ends.
#include "skin/external_function_table.h"

void release_external_libraries() {}
