// How every front end's page request names its client: the window's WinInet
// session and the command-line collector's libcurl transfers send the same.
#pragma once

inline constexpr char download_user_agent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
