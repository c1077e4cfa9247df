#include "checks/accounts/usb20.h"

const char kUnknownUsbDeviceName[] = "<UNKNOWN>";

namespace {

// Controllers name themselves this way ("... USB2 ...", "Standard Enhanced
// PCI to USB Host Controller"); the case is part of the mark.
bool MarksUsb20(const std::string& name)
{
    return name.find("USB2") != std::string::npos || name.find("Enhanced") != std::string::npos;
}

} // namespace

void GradeUsb20(const Usb20Facts& facts, TestResult& result)
{
    result.details = "Detected the following USB 2.0 Ports:\n";
    size_t matches = 0;
    for (const std::string& name : facts.deviceNames) {
        if (!MarksUsb20(name))
            continue;
        ++matches;
        result.details += "  " + name + "\n";
    }
    if (matches > 0)
        result.summary = "USB 2.0 detected";
    else if (!facts.deviceNames.empty())
        result.summary = "USB 2.0 NOT detected";
    else
        result.summary = "USB NOT detected (any version)";
    result.status = 'I';
}
