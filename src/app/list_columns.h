// The columns of the main window's results list.
#pragma once

#include <cstdint>

struct ListColumn {
    const char* title;   // null closes the table
    int32_t width;
};

extern const ListColumn g_listColumns[];
