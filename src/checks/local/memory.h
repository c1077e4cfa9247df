// Memory: total physical memory against the pass mark.
#pragma once

#include "app/test_result.h"

#include <cstdint>

struct MemoryFacts {
    uint64_t totalPhysicalBytes = 0;   // 0 when the memory query failed
};

void GradeMemory(const MemoryFacts& facts, TestResult& result);

// The facts as this system reports them, and the check itself (Windows build).
MemoryFacts QueryMemoryFacts();
void CheckMemory(TestResult& result);
