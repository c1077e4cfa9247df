// Reading one text property of a device, growing the buffer when the first
// offer is too small.
#pragma once

#include <cstdint>
#include <string>

constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kPropertyTypeSz = 1;

// One property read as the Setup API makes it.
class DevicePropertySource {
public:
    virtual ~DevicePropertySource() = default;
    // Reads the property into `buffer`, offering `offered` bytes. Reports the
    // value's type and the size it needs (or took); on failure also the reason.
    virtual bool Read(uint8_t* buffer, uint32_t offered, uint32_t& type, uint32_t& requiredSize,
                      uint32_t& error) = 0;
};

// Empties `text`, then reads the property into it: 1024 bytes offered first;
// a text value that needs more is read again into a buffer of its size.
// False when the value cannot be read or is not a text.
bool ReadDevicePropertyText(DevicePropertySource& source, std::string& text);
