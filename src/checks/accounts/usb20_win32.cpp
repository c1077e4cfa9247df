#include "checks/accounts/usb20_win32.h"

#include "checks/accounts/device_property_text.h"
#include "platform/scoped_win32.h"

namespace {

// GUID_DEVCLASS_USB, spelled out so that no header has to define it.
const GUID kUsbDeviceClass = {0x36FC9E60, 0xC465, 0x11CF, {0x80, 0x56, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

struct DeviceSetTraits {
    static HDEVINFO Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HDEVINFO set) { return set != INVALID_HANDLE_VALUE && set != nullptr; }
    static void Close(HDEVINFO set) { SetupDiDestroyDeviceInfoList(set); }
};
using ScopedDeviceSet = Scoped<HDEVINFO, DeviceSetTraits>;

class SetupApiProperty : public DevicePropertySource {
public:
    SetupApiProperty(HDEVINFO deviceSet, SP_DEVINFO_DATA& device, DWORD property)
        : deviceSet_(deviceSet), device_(device), property_(property)
    {
    }
    bool Read(uint8_t* buffer, uint32_t offered, uint32_t& type, uint32_t& requiredSize, uint32_t& error) override
    {
        DWORD dataType = 0;
        DWORD size = 0;
        const BOOL ok = SetupDiGetDeviceRegistryPropertyA(deviceSet_, &device_, property_, &dataType, buffer,
                                                          offered, &size);
        error = ok ? 0 : GetLastError();
        type = dataType;
        requiredSize = size;
        return ok != FALSE;
    }

private:
    HDEVINFO deviceSet_;
    SP_DEVINFO_DATA& device_;
    DWORD property_;
};

} // namespace

bool GetDevicePropertyText(HDEVINFO deviceSet, SP_DEVINFO_DATA& device, DWORD property, std::string& text)
{
    SetupApiProperty source(deviceSet, device, property);
    return ReadDevicePropertyText(source, text);
}

void ListUsbDeviceNames(std::vector<std::string>& names)
{
    names.clear();
    ScopedDeviceSet devices(SetupDiGetClassDevsA(&kUsbDeviceClass, nullptr, nullptr, DIGCF_PRESENT));
    if (!devices)
        return;
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof(device);  // 28 bytes in a 32-bit program
        if (!SetupDiEnumDeviceInfo(devices.Get(), index, &device))
            break;
        std::string name;
        if (!GetDevicePropertyText(devices.Get(), device, SPDRP_FRIENDLYNAME, name) &&
            !GetDevicePropertyText(devices.Get(), device, SPDRP_DEVICEDESC, name))
            name = kUnknownUsbDeviceName;
        names.push_back(name);
    }
}

void CheckUsb20(TestResult& result)
{
    Usb20Facts facts;
    ListUsbDeviceNames(facts.deviceNames);
    GradeUsb20(facts, result);
}
