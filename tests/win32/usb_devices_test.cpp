#include "checks/accounts/usb20_win32.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

const char kHeading[] = "Detected the following USB 2.0 Ports:\n";

// Devices of the USB class written into the device registry (HKLM\System
// is one key in both views), each removed again with its key.
void AddDevice(std::vector<std::unique_ptr<ScratchKey>>& devices, const char* id, const char* friendly,
               const char* description)
{
    devices.push_back(std::make_unique<ScratchKey>(
        HKEY_LOCAL_MACHINE, std::string("System\\CurrentControlSet\\Enum\\USB\\") + id + "\\KAVLO0001",
        KEY_WOW64_64KEY));
    devices.back()->SetText("ClassGUID", "{36FC9E60-C465-11CF-8056-444553540000}");
    if (friendly)
        devices.back()->SetText("FriendlyName", friendly);
    if (description)
        devices.back()->SetText("DeviceDesc", description);
}

} // namespace

TEST(UsbDevicesOnWine, NamesFallBackAndControllersAreListed)
{
    TestResult result;
    CheckUsb20(result);
    EXPECT_EQ(result.summary, "USB NOT detected (any version)");  // none in this Wine
    const std::string longName = std::string(1500, 'L') + " Enhanced Host Controller";  // beyond the first read
    {
        std::vector<std::unique_ptr<ScratchKey>> devices;
        AddDevice(devices, "VID_F0CA&PID_0001", "Standard Enhanced PCI to USB Host Controller", "friendly comes first");
        AddDevice(devices, "VID_F0CA&PID_0002", "USB Root Hub", nullptr);
        AddDevice(devices, "VID_F0CA&PID_0003", nullptr, "Generic USB2 Hub");
        AddDevice(devices, "VID_F0CA&PID_0004", nullptr, nullptr);
        AddDevice(devices, "VID_F0CA&PID_0005", longName.c_str(), nullptr);

        std::vector<std::string> names;
        ListUsbDeviceNames(names);
        std::vector<std::string> sorted = names;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<std::string>{"<UNKNOWN>", "Generic USB2 Hub", longName,
                                                    "Standard Enhanced PCI to USB Host Controller", "USB Root Hub"}));
        std::string details = kHeading;
        for (const std::string& name : names)
            if (name != "USB Root Hub" && name != "<UNKNOWN>")
                details += "  " + name + "\n";
        CheckUsb20(result);
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, "USB 2.0 detected");
        EXPECT_EQ(result.details, details);
    }
    std::vector<std::string> names = {"stale"};
    ListUsbDeviceNames(names);
    EXPECT_TRUE(names.empty());  // every device the test made is gone
}
