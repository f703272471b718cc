// Names of the resources in pellom.rc, shared by the resource script and the code.
#pragma once

#define DEFAULT_ICON_NAME "DEFAULT_ICON"

#ifndef RC_INVOKED
constexpr const char* default_icon_name = DEFAULT_ICON_NAME;
#endif
