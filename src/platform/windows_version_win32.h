// The release of Windows the program runs on.
#pragma once

#include "platform/windows_release.h"

class WindowsVersion {
public:
    WindowsVersion();
    virtual ~WindowsVersion() = default;

    int GetOsCode() const { return release_.osCode; }
    const char* GetOsName() const { return release_.osName; }
    const char* GetServicePackText() const { return release_.servicePackText.c_str(); }

private:
    WindowsRelease release_;
};

// The facts the naming rule takes, as this system reports them.
WindowsVersionFacts QueryWindowsVersionFacts();
