// The finished records of the one run, shared by the worker and the windows.
#pragma once

#include "app/test_result.h"

#include <mutex>
#include <vector>

// Both live until the process ends and are never destroyed: the worker may
// still be inside a check when the main window closes and the process exits,
// and no static destructor may pull the vector or the lock from under it.
extern std::vector<TestResult>& g_results;
extern std::mutex& g_resultsLock;

// Appends a copy under the lock.
void AppendResult(const TestResult& result);

// Copies record `index` under the lock; false when there is no such record.
bool CopyResult(size_t index, TestResult& copy);
