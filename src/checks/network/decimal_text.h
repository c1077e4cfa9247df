// Numbers in the texts a web server sends.
#pragma once

#include <cstdint>

// Reads a decimal number as atol does: leading white space skipped, an
// optional sign, then digits up to the first non-digit; 0 when there are
// none. Unlike atol it never overflows: it stops at the int64 limits.
int64_t ReadLeadingDecimal(const char* text);

// The same as atol gives it where long has 32 bits (as on Windows): a number
// beyond that range stops at its limits; it never wraps.
int32_t ReadLeadingLong(const char* text);
