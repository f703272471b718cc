// --output DIR: one file per address, named from the series title, never left
// half-written.
#pragma once

#include <cstddef>
#include <set>
#include <string>

// Creates the folder when it is missing; empty when it can take files, else why not.
std::string prepare_output_folder(const std::string& folder);

// A file name from a UTF-8 series title: characters that a file system or a
// shell would trip on replaced, no hidden or over-long names, ".txt" added; a
// name that this run gave before gets " (2)", " (3)"... Remembers it in `used`.
std::string unused_file_name(const std::string& title, std::set<std::string>& used);

// Writes under a temporary name in the same folder, then renames over `name`,
// so a reader sees the old file or the whole new one. Empty on success, else why not.
std::string write_whole_file(const std::string& folder, const std::string& name, const void* bytes,
                             std::size_t count);
