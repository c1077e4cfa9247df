// The Setup API side of "USB 2.0".
#pragma once

#include "checks/accounts/usb20.h"

#include <windows.h>
#include <setupapi.h>

// Empties `text`, then fills it with one text property of one device;
// false when it cannot be read or is not a text.
bool GetDevicePropertyText(HDEVINFO deviceSet, SP_DEVINFO_DATA& device, DWORD property, std::string& text);

// Empties `names`, then lists one name per present USB-class device.
void ListUsbDeviceNames(std::vector<std::string>& names);
