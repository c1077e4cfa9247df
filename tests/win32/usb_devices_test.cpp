#include "checks/accounts/usb20_win32.h"
#include "registry_scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>

TEST(UsbDevicesOnWine, NamesFallBackAndControllersAreListed)
{
    TestResult result;
    CheckUsb20(result);
    EXPECT_EQ(result.summary, "USB NOT detected (any version)");  // none in this Wine
    const std::string longName = std::string(1500, 'L') + " Enhanced Host Controller";  // beyond the first read
    {
        // Devices of the USB class written into the device registry (HKLM\System
        // is one key in both views), each removed again with its key.
        const std::pair<const char*, const char*> devices[] = {
            {"Standard Enhanced PCI to USB Host Controller", "friendly comes first"},
            {"USB Root Hub", nullptr}, {nullptr, "Generic USB2 Hub"}, {nullptr, nullptr}, {longName.c_str(), nullptr},
        };
        std::list<ScratchKey> keys;
        for (const auto& [friendly, description] : devices) {
            keys.emplace_back(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Enum\\USB\\VID_F0CA&PID_000" +
                                                      std::to_string(keys.size()) + "\\KAVLO0001", KEY_WOW64_64KEY);
            keys.back().SetText("ClassGUID", "{36FC9E60-C465-11CF-8056-444553540000}");
            if (friendly)
                keys.back().SetText("FriendlyName", friendly);
            if (description)
                keys.back().SetText("DeviceDesc", description);
        }
        std::vector<std::string> names;
        ListUsbDeviceNames(names);
        std::string details = "Detected the following USB 2.0 Ports:\n";
        for (const std::string& name : names)
            if (name != "USB Root Hub" && name != "<UNKNOWN>")
                details += "  " + name + "\n";
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"<UNKNOWN>", "Generic USB2 Hub", longName,
                                                   "Standard Enhanced PCI to USB Host Controller", "USB Root Hub"}));
        CheckUsb20(result);
        EXPECT_EQ(result.summary, "USB 2.0 detected");
        EXPECT_EQ(result.details, details);
    }
    std::vector<std::string> names = {"stale"};
    ListUsbDeviceNames(names);
    EXPECT_TRUE(names.empty());  // every device the test made is gone
}
