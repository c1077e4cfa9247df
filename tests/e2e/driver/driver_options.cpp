#include "driver_options.h"

#include <cstdlib>

const char* const g_driverUsage =
    "usage: kavlo_driver [options] [-- kavlo options]\n"
    "  --kavlo=PATH          kavlo.exe to start (default: beside the driver)\n"
    "  --shots=DIR           print SCREENSHOT lines and wait for DIR\\NAME.ack after each\n"
    "  --welcome=cancel      press Cancel in the welcome dialog\n"
    "  --cancel-at=NAME      press Cancel in the progress dialog when \"Testing: NAME\" shows\n"
    "  --close-mid-run=NAME  close the main window when \"Testing: NAME\" shows\n"
    "  --by-logoff           that close is a log-off (WM_QUERYENDSESSION, WM_ENDSESSION)\n"
    "  --at-full-bar         Cancel or Close waits for the check's bar to be full\n"
    "  --bar-at=P            the Cancel or Close at NAME waits until the check's own bar\n"
    "                        stands at P percent or more of its range, but not full (1-99)\n"
    "  --email               press Email after the verdict and dismiss what shows\n"
    "  --print               press Print, fill in the names, accept the printer dialog\n"
    "  --agent=NAME --prospect=NAME   names for the Sales Information dialog\n"
    "  --click=N             row to click (default 0)\n"
    "  --details=all         click every row and read its details\n"
    "  --resize=WxH          resize the main window after the run\n"
    "  --no-hold             never hold the worker thread\n"
    "  --run-timeout=S       longest wait for the verdict (default 600)\n"
    "  --exit-timeout=S      longest wait for kavlo to end after Close (default 10)\n"
    "  --case=NAME           instead of one inspection, start kavlo once for each --case and\n"
    "                        end it as the case says (the cases: kavlo_driver.cpp)\n";

namespace {

bool TakeValue(const std::string& argument, const std::string& name, std::string& value)
{
    const std::string prefix = name + "=";
    if (argument.compare(0, prefix.size(), prefix) != 0)
        return false;
    value = argument.substr(prefix.size());
    return true;
}

bool ReadCount(const std::string& text, long& number)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    number = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' && number >= 0;
}

} // namespace

bool ParseDriverOptions(const std::vector<std::string>& arguments, DriverOptions& options, std::string& error)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string value;
        long number = 0;
        if (argument == "--") {
            options.kavloArguments.assign(arguments.begin() + i + 1, arguments.end());
            return true;
        } else if (TakeValue(argument, "--kavlo", value)) {
            options.kavloPath = value;
        } else if (TakeValue(argument, "--shots", value)) {
            options.shotsFolder = value;
        } else if (argument == "--welcome=cancel") {
            options.cancelWelcome = true;
        } else if (TakeValue(argument, "--cancel-at", value) && !value.empty()) {
            options.cancelAt = value;
        } else if (TakeValue(argument, "--close-mid-run", value) && !value.empty()) {
            options.closeAt = value;
        } else if (argument == "--at-full-bar") {
            options.atFullBar = true;
        } else if (argument == "--by-logoff") {
            options.closeByLogOff = true;
        } else if (TakeValue(argument, "--bar-at", value) && ReadCount(value, number) && number >= 1 &&
                   number <= 99) {
            options.barAtPercent = static_cast<int>(number);
        } else if (argument == "--email") {
            options.email = true;
        } else if (argument == "--print") {
            options.print = true;
        } else if (TakeValue(argument, "--agent", value)) {
            options.agentName = value;
        } else if (TakeValue(argument, "--prospect", value)) {
            options.prospectName = value;
        } else if (TakeValue(argument, "--click", value) && ReadCount(value, number)) {
            options.clickRow = static_cast<int>(number);
        } else if (argument == "--details=all") {
            options.allDetails = true;
        } else if (argument == "--no-hold") {
            options.hold = false;
        } else if (TakeValue(argument, "--resize", value)) {
            const size_t x = value.find('x');
            long width = 0, height = 0;
            if (x == std::string::npos || !ReadCount(value.substr(0, x), width) ||
                !ReadCount(value.substr(x + 1), height)) {
                error = "cannot read " + argument;
                return false;
            }
            options.resizeWidth = static_cast<int>(width);
            options.resizeHeight = static_cast<int>(height);
        } else if (TakeValue(argument, "--run-timeout", value) && ReadCount(value, number)) {
            options.runTimeoutMs = static_cast<DWORD>(number) * 1000;
        } else if (TakeValue(argument, "--exit-timeout", value) && ReadCount(value, number)) {
            options.exitTimeoutMs = static_cast<DWORD>(number) * 1000;
        } else if (TakeValue(argument, "--case", value) && !value.empty()) {
            options.cases.push_back(value);
        } else {
            error = "unknown or unreadable option " + argument;
            return false;
        }
    }
    return true;
}
