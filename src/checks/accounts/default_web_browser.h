// "Default Web Browser": the browser that opens web pages here, with its
// version where it is known.
#pragma once

#include "app/test_result.h"

#include <optional>
#include <string>

struct DefaultWebBrowserFacts {
    // Full path of the program associated with ".html"; none when there is no
    // association or the probe page could not be made.
    std::optional<std::string> browserExecutable;
    // HKLM values (native view), none when absent.
    std::optional<std::string> firefoxVersion;  // Mozilla\Mozilla Firefox "CurrentVersion"
    std::optional<std::string> ieVersion;       // Microsoft\Internet Explorer "Version"
    std::optional<std::string> chromeVersion;   // Google\Chrome\BLBeacon "version"
};

// The page whose association is looked up: "blank.html" in the temporary
// folder, which already ends in a backslash (the doubled one is accepted).
std::string ProbePagePath(const std::string& temporaryFolder);

// The lower-case file name of the browser, without folder and extension.
// Empties `name` first; false (and `name` empty) when there is no executable.
bool FindDefaultBrowserName(const std::optional<std::string>& browserExecutable, std::string& name);

// Always informational: a missing association or version only shortens the summary.
void GradeDefaultWebBrowser(const DefaultWebBrowserFacts& facts, TestResult& result);

void CheckDefaultWebBrowser(TestResult& result);
