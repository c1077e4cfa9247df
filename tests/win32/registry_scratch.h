// Registry changes a test makes and undoes: every value it touches is put
// back as it was (or removed), and the part of the key's path it had to create
// is deleted with everything under it. `view` is 0, KEY_WOW64_64KEY or KEY_WOW64_32KEY.
#pragma once

#include "platform/scoped_win32.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

inline std::string DwordBytes(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

// Deletes the key at `path` and everything under it, if it is there.
inline void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view)
{
    ScopedRegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, key.Receive()) == ERROR_SUCCESS)
        RegDeleteTreeA(key.Get(), nullptr), RegDeleteKeyExA(root, path.c_str(), view, 0);
}

class ScratchKey {
public:
    ScratchKey(HKEY root, const std::string& path, REGSAM view, DWORD options = REG_OPTION_NON_VOLATILE)
        : root_(root), view_(view)
    {
        for (size_t end = 0; created_.empty() && end != std::string::npos;) {
            end = path.find('\\', end + 1);
            ScopedRegKey probe;
            if (RegOpenKeyExA(root, path.substr(0, end).c_str(), 0, KEY_READ | view, probe.Receive()) != ERROR_SUCCESS)
                created_ = path.substr(0, end);
        }
        EXPECT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS | view, nullptr,
                                  key_.Receive(), nullptr), ERROR_SUCCESS) << path;
    }
    ~ScratchKey()
    {
        for (const auto& [name, value] : saved_)
            if (value)
                RegSetValueExA(key_.Get(), name.c_str(), 0, value->first,
                               reinterpret_cast<const BYTE*>(value->second.data()), value->second.size());
            else
                RegDeleteValueA(key_.Get(), name.c_str());
        key_.Reset();
        if (!created_.empty())
            DeleteKeyTree(root_, created_, view_);
    }

    // The value's bytes as given (no terminator is added).
    void Set(const char* name, DWORD type, const std::string& data)
    {
        Remember(name);
        EXPECT_EQ(RegSetValueExA(key_.Get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()), data.size()),
                  ERROR_SUCCESS) << name;
    }
    void SetText(const char* name, const std::string& text) { Set(name, REG_SZ, text + '\0'); }
    void SetDword(const char* name, DWORD value) { Set(name, REG_DWORD, DwordBytes(value)); }
    void Remove(const char* name) { Remember(name), RegDeleteValueA(key_.Get(), name); }

private:
    // The value as it was before the test first touched it, or none.
    void Remember(const char* name)
    {
        const auto [saved, first] = saved_.try_emplace(name);
        DWORD type = 0, size = 0;
        if (first && RegQueryValueExA(key_.Get(), name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::string data(size, '\0');
            if (RegQueryValueExA(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
                ERROR_SUCCESS)
                saved->second = {{type, data.substr(0, size)}};
        }
    }

    HKEY root_;
    REGSAM view_;
    std::string created_;
    ScopedRegKey key_;
    std::map<std::string, std::optional<std::pair<DWORD, std::string>>> saved_;
};
