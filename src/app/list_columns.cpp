#include "app/list_columns.h"

const ListColumn g_listColumns[] = {
    {"Approved/Failed/Informational", 180},
    {"Test", 150},
    {"Description", 400},
    {nullptr, 0},
};
