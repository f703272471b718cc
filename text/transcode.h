// Encoding conversion between byte encodings, all or nothing, over GNU libiconv.
#pragma once

#include "text/text.h"

// `from` and `to` are libiconv names, passed on unchanged. The empty Byte set
// when the conversion fails; *succeeded (when given) tells an empty success apart.
// On failure *failed_at (when given) is the offset of the input byte where the
// conversion stopped: the start of an invalid, unrepresentable or cut-off
// sequence, so that a person can look at the page there.
ByteSet transcode(const ByteSet& data, const char* from, const char* to, bool* succeeded = nullptr,
                  std::uint32_t* failed_at = nullptr);
