// Encoding conversion over GNU libiconv.
#include "text/transcode.h"
