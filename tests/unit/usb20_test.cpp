#include "checks/accounts/usb20.h"

#include <gtest/gtest.h>

namespace {

const char kHeading[] = "Detected the following USB 2.0 Ports:\n";

} // namespace

TEST(Usb20, MarkersSummaryAndListedDevices)
{
    const struct {
        const char* name;
        std::vector<std::string> devices;
        const char* summary;
        std::string details;
    } cases[] = {
        {"enhanced controller", {"Standard Enhanced PCI to USB Host Controller", "USB Root Hub"}, "USB 2.0 detected",
         std::string(kHeading) + "  Standard Enhanced PCI to USB Host Controller\n"},
        {"USB2 without Enhanced", {"Intel USB2 Host Controller"}, "USB 2.0 detected",
         std::string(kHeading) + "  Intel USB2 Host Controller\n"},
        {"both markers listed once", {"USB2 Enhanced Host Controller"}, "USB 2.0 detected",
         std::string(kHeading) + "  USB2 Enhanced Host Controller\n"},
        {"list order kept", {"B USB2", "USB Root Hub", "A Enhanced"}, "USB 2.0 detected",
         std::string(kHeading) + "  B USB2\n  A Enhanced\n"},
        {"lower case does not mark", {"generic usb2 hub", "enhanced host", "ENHANCED", "Usb2"}, "USB 2.0 NOT detected",
         kHeading},
        {"USB 3.0 only", {"USB xHCI Compliant Host Controller", "USB Root Hub (USB 3.0)"}, "USB 2.0 NOT detected",
         kHeading},
        {"unreadable names", {"<UNKNOWN>"}, "USB 2.0 NOT detected", kHeading},
        {"no devices", {}, "USB NOT detected (any version)", kHeading},
    };
    for (const auto& c : cases) {
        TestResult result;  // the runner's pre-set F
        GradeUsb20({c.devices}, result);
        EXPECT_EQ(result.status, 'I') << c.name;
        EXPECT_EQ(result.summary, c.summary) << c.name;
        EXPECT_EQ(result.details, c.details) << c.name;
    }
}

TEST(Usb20, UnknownNameText)
{
    EXPECT_STREQ(kUnknownUsbDeviceName, "<UNKNOWN>");
}
