// The overall verdict over the finished records.
#pragma once

#include "app/test_result.h"

#include <cstdint>
#include <string>
#include <vector>

struct OverallVerdict {
    std::string message;       // one sentence for the user
    std::string verdictText;   // "Approved" or "Failed"
    uint32_t icon = 0;         // message-box icon code: 0x30 or 0x10
    TestStatus letter = 'A';
};

// The rule itself, over any sequence of records.
OverallVerdict ComputeVerdictOf(const std::vector<TestResult>& results);

// Over g_results, taking g_resultsLock for the walk.
OverallVerdict ComputeOverallVerdict();
