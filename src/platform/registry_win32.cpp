#include "platform/registry_win32.h"

#include "platform/registry_text.h"
#include "platform/scoped_win32.h"
#include "platform/wow64_win32.h"

#include <vector>

std::optional<std::string> ReadRegValueText(HKEY key, const char* valueName)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_DWORD)
        return std::nullopt;
    if (type == REG_DWORD)
        size = sizeof(DWORD);
    // One byte more than asked, so that a text stored without its terminator
    // still fits; the value may also grow between the two queries, which
    // RegQueryValueExA then reports as a failure.
    std::vector<uint8_t> data(size + 1, 0);
    DWORD read = size;
    if (RegQueryValueExA(key, valueName, nullptr, &type, data.data(), &read) != ERROR_SUCCESS)
        return std::nullopt;
    return RegistryDataAsText(type, data.data(), read);
}

namespace {

// The value's bytes when it exists and holds at most `limit` bytes.
std::optional<std::vector<uint8_t>> ReadRegBytes(HKEY key, const char* valueName, DWORD& type,
                                                 DWORD limit = MAXDWORD - 1)
{
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size > limit)
        return std::nullopt;
    std::vector<uint8_t> data(size + 1, 0);
    DWORD read = size;
    if (RegQueryValueExA(key, valueName, nullptr, &type, data.data(), &read) != ERROR_SUCCESS || read > size)
        return std::nullopt;
    data.resize(read);
    return data;
}

} // namespace

uint32_t ReadRegRawNumber(HKEY key, const char* valueName)
{
    DWORD type = 0;
    const auto data = ReadRegBytes(key, valueName, type, sizeof(DWORD));
    return data ? RegistryDataAsNumber(data->data(), data->size()) : 0;
}

std::optional<uint32_t> ReadRegDword(HKEY key, const char* valueName)
{
    DWORD type = 0;
    const auto data = ReadRegBytes(key, valueName, type, sizeof(DWORD));
    if (!data || type != REG_DWORD || data->size() != sizeof(DWORD))
        return std::nullopt;
    return RegistryDataAsNumber(data->data(), data->size());
}

std::optional<std::string> ReadRegBoundedText(HKEY key, const char* valueName, size_t bufferSize)
{
    DWORD type = 0;
    // Read whole: the text may end well before the data does.
    const auto data = ReadRegBytes(key, valueName, type);
    if (!data)
        return std::nullopt;
    return RegistryDataAsBoundedText(type, data->data(), data->size(), bufferSize);
}

REGSAM NativeViewReadAccess()
{
    return KEY_READ | (IsRunningUnderWow64() ? KEY_WOW64_64KEY : 0);
}

std::optional<std::string> ReadRegKeyValueText(HKEY root, const char* subKey, const char* valueName)
{
    ScopedRegKey key;
    if (RegOpenKeyExA(root, subKey, 0, NativeViewReadAccess(), key.Receive()) != ERROR_SUCCESS)
        return std::nullopt;
    return ReadRegValueText(key.Get(), valueName);
}
