// Entries of outside libraries, bound on first call and kept until the process ends.
#pragma once

// Releases every library the table loaded; part of the end of the process.
void release_external_libraries();
