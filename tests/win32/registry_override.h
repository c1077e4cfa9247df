// One registry value a test overwrites or removes: on destruction it is put
// back as it was, and every key the test had to make is deleted again.
#pragma once

#include "platform/scoped_win32.h"

#include <string>
#include <vector>

class RegistryValueOverride {
public:
    RegistryValueOverride(HKEY root, const std::string& path, const char* name, REGSAM view)
        : root_(root), name_(name), view_(view)
    {
        for (size_t end = 0; end != std::string::npos && createdTop_.empty();) {
            end = path.find('\\', end + 1);
            ScopedRegKey probe;
            if (RegOpenKeyExA(root_, path.substr(0, end).c_str(), 0, KEY_READ | view_, probe.Receive()) != 0)
                createdTop_ = path.substr(0, end);
        }
        RegCreateKeyExA(root_, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr, key_.Receive(), nullptr);
        DWORD size = 0;
        if (RegQueryValueExA(key_.Get(), name_, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            saved_.resize(size);
            existed_ = RegQueryValueExA(key_.Get(), name_, nullptr, &type_, saved_.data(), &size) == ERROR_SUCCESS;
        }
    }
    ~RegistryValueOverride()
    {
        if (existed_)
            Set(type_, saved_.data(), static_cast<DWORD>(saved_.size()));
        else
            Remove();
        key_.Reset();
        ScopedRegKey top;
        if (!createdTop_.empty() &&
            RegOpenKeyExA(root_, createdTop_.c_str(), 0, KEY_ALL_ACCESS | view_, top.Receive()) == ERROR_SUCCESS) {
            RegDeleteTreeA(top.Get(), nullptr);
            top.Reset();
            RegDeleteKeyExA(root_, createdTop_.c_str(), view_, 0);
        }
    }

    HKEY key() const { return key_.Get(); }
    bool Set(DWORD type, const void* data, DWORD size)
    {
        return RegSetValueExA(key_.Get(), name_, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    }
    bool SetText(const std::string& text) { return Set(REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1)); }
    bool SetDword(DWORD number) { return Set(REG_DWORD, &number, sizeof(number)); }
    void Remove() { RegDeleteValueA(key_.Get(), name_); }

private:
    HKEY root_;
    const char* name_;  // null: the key's default value
    REGSAM view_;
    std::string createdTop_;
    ScopedRegKey key_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> saved_;
};
