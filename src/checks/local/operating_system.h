// Operating System: the Windows release, its bitness and its install date.
#pragma once

#include "app/test_result.h"

#include <cstdint>
#include <optional>
#include <string>

struct OperatingSystemFacts {
    int osCode = 0;                        // release code of the naming table
    std::string osName;                    // empty when the release has no name
    std::string servicePackText;           // "SP1.0"
    uint16_t architecture = 0;             // machine's wProcessorArchitecture
    std::optional<int32_t> installDate;    // seconds since 1970-01-01 UTC, when a REG_DWORD
};

void GradeOperatingSystem(const OperatingSystemFacts& facts, TestResult& result);
// The facts as this system reports them, and the check itself (Windows build).
OperatingSystemFacts QueryOperatingSystemFacts();
void CheckOperatingSystem(TestResult& result);
