// Entries of outside libraries, bound on first call and kept until the process ends.
#pragma once

#include <cstddef>

#include "engine/skin_engine.h"

// The skin engine's file name (set once, in the build): written next to the
// program, then loaded.
inline constexpr char skin_engine_library_name[] = SKIN_ENGINE_FILE_NAME;

// The entries the program calls, numbered as the table lists them.
enum ExternalFunction : std::size_t {
    skin_attach_res = 0,  // SkinH_AttachRes in the skin engine
};

// The engine's entry as its own header declares it. WINAPI, so it removes its 24
// bytes of arguments itself.
using SkinAttachEntry = decltype(SkinH_AttachRes);

// The entry's address. The first call loads the library (from the run directory,
// then by bare name) and resolves it; when that fails the process ends with the
// fatal report, so the result is never null.
void* external_function(ExternalFunction entry);

// The one place where the bound address takes its declared type.
inline SkinAttachEntry* skin_attach_entry() {
    return reinterpret_cast<SkinAttachEntry*>(external_function(skin_attach_res));
}

// Releases every library the table loaded; part of the end of the process.
void release_external_libraries();
