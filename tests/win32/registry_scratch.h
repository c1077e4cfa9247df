// A registry key a test writes values in: the part of its path the test had
// to create is deleted with everything under it when the test ends. Values
// changed in keys that were there stay changed (each run has a fresh copy of
// the prefix). `view` is 0, KEY_WOW64_64KEY or KEY_WOW64_32KEY.
#pragma once

#include "platform/scoped_win32.h"

#include <gtest/gtest.h>

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

struct ScratchKey {
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
        key_.Reset();
        if (!created_.empty())
            DeleteKeyTree(root_, created_, view_);
    }

    // The value's bytes as given (no terminator is added).
    void Set(const char* name, DWORD type, const std::string& data)
    {
        EXPECT_EQ(RegSetValueExA(key_.Get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()), data.size()),
                  ERROR_SUCCESS) << name;
    }
    void Remove(const char* name) { RegDeleteValueA(key_.Get(), name); }

    HKEY root_;
    REGSAM view_;
    std::string created_;
    ScopedRegKey key_;
};
