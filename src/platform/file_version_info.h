// The version resource of one executable file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct VersionNumber {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t build = 0;
    uint16_t revision = 0;
};

// "%hu.%hu.%hu.%hu", cut to a buffer of `bufferSize` bytes.
std::string FormatVersion(size_t bufferSize, const VersionNumber& version);

class FileVersionInfo {
public:
    // Loads the program's own executable.
    FileVersionInfo();
    explicit FileVersionInfo(const char* path);

    // Loads the file at `path`, or the program's own executable when null.
    bool Load(const char* path);
    void Clear();

    std::optional<std::string> companyName;
    std::optional<std::string> productName;
    std::optional<std::string> legalCopyright;
    std::optional<std::string> internalName;
    VersionNumber fileVersion;
    VersionNumber productVersion;
    bool loaded = false;
};

// The fixed part of a version resource holds each version as two 32-bit
// words: major.minor in the most significant, build.revision in the least.
VersionNumber VersionFromWords(uint32_t mostSignificant, uint32_t leastSignificant);
