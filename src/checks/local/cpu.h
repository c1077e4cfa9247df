// CPU: the processor's name and recorded clock, and how many there are.
#pragma once

#include "app/test_result.h"

#include <cstdint>
#include <string>

struct CpuFacts {
    uint32_t processorCount = 0;
    bool keyOpened = false;      // the processor's registry key could be opened
    uint32_t megahertz = 0;      // ~MHz, 0 when missing or unreadable
    std::string name;            // ProcessorNameString as stored, empty when missing
};

// In-place tidying of the vendor's name, which is often padded with blanks.
// Only character 32 counts as a blank.
char* TrimLeadingSpaces(char* text);
char* CollapseSpaces(char* text);

void GradeCpu(const CpuFacts& facts, TestResult& result);

// The facts as this system reports them, and the check itself (Windows build).
CpuFacts QueryCpuFacts();
void CheckCpu(TestResult& result);
