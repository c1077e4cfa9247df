// UTC calendar arithmetic on the proleptic Gregorian calendar, independent of
// the local time zone and of the C library's range of time_t.
#pragma once

#include <cstdint>

constexpr int64_t kSecondsPerDay = 86400;
// 100-nanosecond units, the unit of a Windows file time.
constexpr int64_t kFileTimeUnitsPerSecond = 10000000;
constexpr int64_t kFileTimeUnitsPerDay = kSecondsPerDay * kFileTimeUnitsPerSecond;

struct CivilDate {
    int year = 1970;
    int month = 1;
    int day = 1;
};

struct CivilTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Division that rounds toward minus infinity (days before 1970 are negative).
int64_t FloorDivide(int64_t value, int64_t divisor);

// Days since 1970-01-01 and back.
CivilDate CivilDateFromDays(int64_t days);
int64_t DaysFromCivil(int64_t year, int month, int day);

// True when the six fields name a real moment that a Windows file time can
// hold (years 1601 to 30827, no leap seconds).
bool IsValidCivilTime(const CivilTime& time);

// 100-nanosecond units since 1601-01-01 00:00 UTC, for a valid time.
int64_t FileTimeFromCivil(const CivilTime& time);
