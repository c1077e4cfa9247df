// Naming the Windows release from the fields of its version record.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct WindowsVersionFacts {
    bool haveRecord = false;          // GetVersionEx answered at all
    bool haveExtendedInfo = false;    // ... with the extended record
    uint32_t platformId = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint16_t servicePackMajor = 0;
    uint16_t servicePackMinor = 0;
    std::string csdVersion;           // szCSDVersion, e.g. "Service Pack 1"
    uint16_t suiteMask = 0;
    uint8_t productType = 0;
    // Asked only when the rule needs them: the ProductType text under
    // ProductOptions (none when unreadable or too long), and whether the
    // hotfix key of NT 4.0 Service Pack 6a exists.
    std::function<std::optional<std::string>()> readProductTypeValue;
    std::function<bool()> hasHotfixQ246009;
};

struct WindowsRelease {
    int osCode = 0;                   // 0: not recognised
    const char* osName = nullptr;
    std::string servicePackText;      // "SP1.0", "SP 6a"
};

WindowsRelease NameWindowsRelease(const WindowsVersionFacts& facts);
