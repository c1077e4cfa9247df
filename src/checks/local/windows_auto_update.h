// Windows Auto Update: switched off by policy or setting, and days since the
// last successful installation.
#pragma once

#include "app/test_result.h"

#include <cstdint>
#include <optional>
#include <string>

// Which key the two switches were read from: the policy key wins; the
// user's setting counts only when there is no policy.
enum class AutoUpdateSource { None, Policy, Setting };

struct WindowsAutoUpdateFacts {
    AutoUpdateSource source = AutoUpdateSource::None;
    uint32_t noAutoUpdate = 0;                 // 0 when missing
    uint32_t auOptions = 0;                    // 0 when missing; 1 means "never check"
    bool resultsKeyOpened = false;
    std::optional<std::string> lastSuccessTime;  // as read (at most 127 characters), none when unreadable
    int64_t nowFileTime = 0;                   // current UTC time, 100-ns units since 1601
};

void GradeWindowsAutoUpdate(const WindowsAutoUpdateFacts& facts, TestResult& result);

// The facts as this system reports them, and the check itself (Windows build).
WindowsAutoUpdateFacts QueryWindowsAutoUpdateFacts();
void CheckWindowsAutoUpdate(TestResult& result);
