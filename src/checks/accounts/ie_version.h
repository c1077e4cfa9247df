// "IE Version": the Internet Explorer components must be version 11 or later.
#pragma once

#include "app/test_result.h"

#include <cstdint>
#include <optional>
#include <string>

struct IeVersionFacts {
    // "svcVersion" of HKLM\SOFTWARE\Microsoft\Internet Explorer (native view);
    // none when absent or of a type that does not read as text.
    std::optional<std::string> svcVersion;
};

// The leading unsigned decimal number of a version text, as "%lu." reads it:
// blanks skipped, an optional '+', at least one digit; the dot need not follow.
// Too large a number reads as the largest one. A minus sign is no number.
std::optional<uint32_t> ReadLeadingVersionNumber(const std::string& text);

void GradeIeVersion(const IeVersionFacts& facts, TestResult& result);

void CheckIeVersion(TestResult& result);
