#include "checks/accounts/usb20_win32.h"
#include "registry_override.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

const char kUsbClassGuid[] = "{36FC9E60-C465-11CF-8056-444553540000}";
const char kEnumUsb[] = "System\\CurrentControlSet\\Enum\\USB\\";
const char kHeading[] = "Detected the following USB 2.0 Ports:\n";

// Devices of the USB class as the test writes them into the device
// registry (HKLM\System is one key in both views); each removed afterwards.
class TestUsbDevices {
public:
    void Add(const std::string& id, const char* friendlyName, const char* description)
    {
        auto key = std::make_unique<ScopedTestKey>(HKEY_LOCAL_MACHINE, kEnumUsb + id + "\\KAVLO0001", KEY_WOW64_64KEY);
        ASSERT_TRUE(key->ok()) << id;
        ASSERT_TRUE(key->SetText("ClassGUID", kUsbClassGuid));
        if (friendlyName != nullptr) {
            ASSERT_TRUE(key->SetText("FriendlyName", friendlyName));
        }
        if (description != nullptr) {
            ASSERT_TRUE(key->SetText("DeviceDesc", description));
        }
        devices_.push_back(std::move(key));
    }

private:
    std::vector<std::unique_ptr<ScopedTestKey>> devices_;
};

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

TestResult RunCheckUsb20()
{
    TestResult result;  // the runner's pre-set F
    CheckUsb20(result);
    return result;
}

} // namespace

TEST(UsbDevicesOnWine, NoDevicesOfTheUsbClass)
{
    std::vector<std::string> names = {"stale"};
    ListUsbDeviceNames(names);
    EXPECT_TRUE(names.empty());
    const TestResult result = RunCheckUsb20();
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "USB NOT detected (any version)");
    EXPECT_EQ(result.details, kHeading);
}

TEST(UsbDevicesOnWine, NamesFallBackAndControllersAreListed)
{
    const std::string longName = std::string(1500, 'L') + " Enhanced Host Controller";
    {
        TestUsbDevices devices;
        devices.Add("VID_F0CA&PID_0001", "Standard Enhanced PCI to USB Host Controller", "not shown: friendly name first");
        devices.Add("VID_F0CA&PID_0002", "USB Root Hub", nullptr);
        devices.Add("VID_F0CA&PID_0003", nullptr, "Generic USB2 Hub");
        devices.Add("VID_F0CA&PID_0004", nullptr, nullptr);
        devices.Add("VID_F0CA&PID_0005", longName.c_str(), nullptr);  // beyond the first 1024-byte read

        std::vector<std::string> names;
        ListUsbDeviceNames(names);
        EXPECT_EQ(Sorted(names), Sorted({"Standard Enhanced PCI to USB Host Controller", "USB Root Hub",
                                         "Generic USB2 Hub", "<UNKNOWN>", longName}));

        // The details list the three marked devices, in the order they were listed.
        std::string details = kHeading;
        for (const std::string& name : names)
            if (name != "USB Root Hub" && name != "<UNKNOWN>")
                details += "  " + name + "\n";
        const TestResult result = RunCheckUsb20();
        EXPECT_EQ(result.status, 'I');
        EXPECT_EQ(result.summary, "USB 2.0 detected");
        EXPECT_EQ(result.details, details);
    }
    // Every device the test made is gone again.
    std::vector<std::string> names;
    ListUsbDeviceNames(names);
    EXPECT_TRUE(names.empty());
}

TEST(UsbDevicesOnWine, HubsWithoutMarkers)
{
    TestUsbDevices devices;
    devices.Add("VID_F0CA&PID_0011", "USB Root Hub", nullptr);
    devices.Add("VID_F0CA&PID_0012", "usb2 enhanced hub in lower case", nullptr);
    const TestResult result = RunCheckUsb20();
    EXPECT_EQ(result.status, 'I');
    EXPECT_EQ(result.summary, "USB 2.0 NOT detected");
    EXPECT_EQ(result.details, kHeading);
}
