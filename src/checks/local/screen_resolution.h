// Screen Resolution: the primary display's mode and the number of displays.
#pragma once

#include "app/test_result.h"

#include <cstdint>

struct ScreenResolutionFacts {
    uint32_t displays = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t refreshHertz = 0;
};

void GradeScreenResolution(const ScreenResolutionFacts& facts, TestResult& result);

// The facts as this system reports them, and the check itself (Windows build).
ScreenResolutionFacts QueryScreenResolutionFacts();
void CheckScreenResolution(TestResult& result);
