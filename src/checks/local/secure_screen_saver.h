// Secure Screen Saver: a password-protected screen saver within 15 minutes.
#pragma once

#include "app/test_result.h"

#include <optional>
#include <string>

struct SecureScreenSaverFacts {
    bool keyOpened = false;                      // HKCU\Control Panel\Desktop
    std::optional<std::string> active;           // ScreenSaveActive
    std::optional<std::string> timeOutSeconds;   // ScreenSaveTimeOut
    std::optional<std::string> program;          // SCRNSAVE.EXE
    std::optional<std::string> isSecure;         // ScreenSaverIsSecure
};

// The leading decimal integer of a text by the C library's atoi rules
// (leading blanks, a sign, digits; 0 when there are none), held to the
// range of a 32-bit int.
int LeadingInteger(const std::string& text);

// The file name of a path without directories and extension, as _splitpath
// gives it: "scrnsave" from "C:\Windows\system32\scrnsave.scr".
std::string FileNameWithoutExtension(const std::string& path);

void GradeSecureScreenSaver(const SecureScreenSaverFacts& facts, TestResult& result);

// The facts as this system reports them, and the check itself (Windows build).
SecureScreenSaverFacts QuerySecureScreenSaverFacts();
void CheckSecureScreenSaver(TestResult& result);
