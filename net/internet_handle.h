// Owns one WinInet handle, so that no path out of a download can leave a
// connection or request open.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "win/handles.h"

using InternetHandle = UniqueHandle<NullWhenAbsent<HINTERNET, &InternetCloseHandle>>;
