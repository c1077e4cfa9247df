#include "checks/accounts/device_property_text.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr uint32_t kFirstOffer = 1024;

// One byte beyond what is offered, for the terminator the value may lack.
std::unique_ptr<uint8_t[]> Allocate(uint32_t offered)
{
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size_t{offered} + 1]());
}

} // namespace

bool ReadDevicePropertyText(DevicePropertySource& source, std::string& text)
{
    text.clear();
    uint32_t offered = kFirstOffer;
    std::unique_ptr<uint8_t[]> buffer = Allocate(offered);
    if (!buffer)
        return false;

    uint32_t type = 0;
    uint32_t required = 0;
    uint32_t error = 0;
    while (!source.Read(buffer.get(), offered, type, required, error)) {
        if (error != kErrorInsufficientBuffer || type != kPropertyTypeSz)
            return false;
        // A value that claims to need no more than it was just offered would
        // have us ask for ever: the device is not telling the truth.
        if (required <= offered || required == UINT32_MAX)
            return false;
        buffer.reset();
        offered = required;
        buffer = Allocate(offered);
        if (!buffer)
            return false;
    }
    const uint32_t end = required < offered ? required : offered;
    buffer[end] = 0;
    text.assign(reinterpret_cast<const char*>(buffer.get()), strnlen(reinterpret_cast<const char*>(buffer.get()), end));
    return true;
}
