// "USB 2.0": whether the computer has USB 2.0 controllers, judged by the
// names of its USB-class devices.
#pragma once

#include "app/test_result.h"

#include <string>
#include <vector>

struct Usb20Facts {
    // One name per present device of the USB class, in enumeration order:
    // its friendly name, else its description, else kUnknownUsbDeviceName.
    std::vector<std::string> deviceNames;
};

extern const char kUnknownUsbDeviceName[];

// Always informational; lists the devices whose names mark them as USB 2.0.
void GradeUsb20(const Usb20Facts& facts, TestResult& result);

void CheckUsb20(TestResult& result);
