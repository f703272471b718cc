// One downloaded play page to its episode list, by the window's own steps:
// UTF-8 to GBK all or nothing, the two expressions, the shared list format.
#pragma once

#include <string>

#include "cli/download.h"
#include "text/text.h"

struct PageList {
    Text list;            // GBK, exactly what the window's result box would hold
    Text title;           // GBK, the page's first series title; empty when none
    std::string failure;  // why the page gave no episode; empty when it gave some
};

PageList collect_page(const Download& download);
