// Encoding conversion between byte encodings, all or nothing, over GNU libiconv.
#pragma once

#include "text/text.h"

// `from` and `to` are libiconv names, passed on unchanged. The empty Byte set
// when the conversion fails; *succeeded (when given) tells an empty success apart.
ByteSet transcode(const ByteSet& data, const char* from, const char* to, bool* succeeded = nullptr);
