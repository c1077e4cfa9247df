// The built-in list of checks, in the order they run and are reported.
#pragma once

#include "app/test_result.h"

#include <cstddef>

extern const TestEntry g_testTable[];

// Rows up to the terminator (18).
size_t CountTestTableRows(const TestEntry* table = g_testTable);
