#include "platform/file_version_info.h"

#include "app/text_format.h"

std::string FormatVersion(size_t bufferSize, const VersionNumber& version)
{
    return FormatBounded(bufferSize, "%hu.%hu.%hu.%hu", version.major, version.minor, version.build,
                         version.revision);
}

VersionNumber VersionFromWords(uint32_t mostSignificant, uint32_t leastSignificant)
{
    VersionNumber version;
    version.major = static_cast<uint16_t>(mostSignificant >> 16);
    version.minor = static_cast<uint16_t>(mostSignificant & 0xFFFF);
    version.build = static_cast<uint16_t>(leastSignificant >> 16);
    version.revision = static_cast<uint16_t>(leastSignificant & 0xFFFF);
    return version;
}

void FileVersionInfo::Clear()
{
    companyName.reset();
    productName.reset();
    legalCopyright.reset();
    internalName.reset();
    fileVersion = VersionNumber();
    productVersion = VersionNumber();
    loaded = false;
}
