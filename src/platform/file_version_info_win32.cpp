#include "platform/file_version_info.h"

#include "app/text_format.h"

#include <windows.h>

#include <cstring>
#include <vector>

FileVersionInfo::FileVersionInfo()
{
    Load(nullptr);
}

FileVersionInfo::FileVersionInfo(const char* path)
{
    Load(path);
}

namespace {

std::optional<std::string> QueryVersionString(const std::vector<char>& block, const char* name)
{
    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) || value == nullptr ||
        length < sizeof(Translation))
        return std::nullopt;
    const Translation* first = static_cast<const Translation*>(value);
    const std::string path =
        FormatBounded(256, "\\StringFileInfo\\%04x%04x\\%s", first->language, first->codePage, name);
    char* text = nullptr;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr)
        return std::nullopt;
    // A damaged resource may hold a string without its terminator: the text
    // never runs past the end of the block it was found in.
    const char* end = block.data() + block.size();
    if (text < block.data() || text >= end)
        return std::nullopt;
    return std::string(text, strnlen(text, static_cast<size_t>(end - text)));
}

} // namespace

bool FileVersionInfo::Load(const char* path)
{
    Clear();
    char fileName[MAX_PATH] = {};
    if (path != nullptr) {
        lstrcpynA(fileName, path, MAX_PATH);
    } else if (GetModuleFileNameA(nullptr, fileName, MAX_PATH) == 0) {
        return false;
    }

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName, &ignored);
    if (size == 0)
        return false;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(fileName, 0, size, block.data()))
        return false;

    void* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\", &fixed, &length) && fixed != nullptr &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
        fileVersion = VersionFromWords(info->dwFileVersionMS, info->dwFileVersionLS);
        productVersion = VersionFromWords(info->dwProductVersionMS, info->dwProductVersionLS);
    }
    companyName = QueryVersionString(block, "CompanyName");
    productName = QueryVersionString(block, "ProductName");
    legalCopyright = QueryVersionString(block, "LegalCopyright");
    internalName = QueryVersionString(block, "InternalName");
    loaded = true;
    return true;
}
