// The page download: one blocking HTTP GET over WinInet.
#include "net/http_get_body.h"
