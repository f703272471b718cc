// The two expressions the collection runs over a play page, in GBK bytes
// (第 is B5 DA, 集 BC AF), for the tests and the benchmark.
#pragma once

inline constexpr char episode_expression[] =
    "<div class=\"item\" name=\"tvlist\" flag=\"(.*?)\" seq=\"(.*?)\" id=\"item_(.*?)\" "
    "title=\"\xB5\xDA(.*?)\xBC\xAF\">";
inline constexpr char title_expression[] = "<meta name=\"title\" content=\"(.*?)\">";
