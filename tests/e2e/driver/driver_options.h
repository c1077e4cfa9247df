// The driver's command line: driver options, then "--" and kavlo's own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct DriverOptions {
    std::string kavloPath;               // --kavlo=PATH (default: kavlo.exe beside the driver)
    std::vector<std::string> kavloArguments;
    std::string shotsFolder;             // --shots=DIR: ask for screenshots, acknowledged in DIR
    bool cancelWelcome = false;          // --welcome=cancel
    std::string cancelAt;                // --cancel-at=NAME
    std::string closeAt;                 // --close-mid-run=NAME
    bool closeByLogOff = false;          // --by-logoff
    bool atFullBar = false;              // --at-full-bar
    int barAtPercent = 0;                // --bar-at=P: Cancel or Close waits for the check's bar
    bool email = false;                  // --email
    bool print = false;                  // --print
    std::string agentName;               // --agent=NAME
    std::string prospectName;            // --prospect=NAME
    int clickRow = 0;                    // --click=N
    bool allDetails = false;             // --details=all
    bool hold = true;                    // --no-hold
    int resizeWidth = 0;                 // --resize=WxH
    int resizeHeight = 0;
    DWORD runTimeoutMs = 600000;         // --run-timeout=SECONDS
    DWORD exitTimeoutMs = 10000;         // --exit-timeout=SECONDS
    std::vector<std::string> cases;      // --case=NAME, repeatable: a run of kavlo each, in turn
};

// False with a message for an option it does not know or cannot read.
bool ParseDriverOptions(const std::vector<std::string>& arguments, DriverOptions& options, std::string& error);

extern const char* const g_driverUsage;
