// Test-side registry helpers: every key a test makes is removed afterwards
// and every value it overwrites is put back as it was.
#pragma once

#include "platform/scoped_win32.h"

#include <string>
#include <vector>

// A key made for the test (with any missing parents); the topmost key that
// did not exist before is deleted with everything below it on destruction.
class ScopedTestKey {
public:
    ScopedTestKey(HKEY root, const std::string& path, REGSAM view) : root_(root), view_(view)
    {
        std::string prefix;
        size_t start = 0;
        while (start <= path.size()) {
            size_t end = path.find('\\', start);
            if (end == std::string::npos)
                end = path.size();
            prefix = path.substr(0, end);
            ScopedRegKey probe;
            if (RegOpenKeyExA(root_, prefix.c_str(), 0, KEY_READ | view_, probe.Receive()) != ERROR_SUCCESS) {
                createdTop_ = prefix;
                break;
            }
            start = end + 1;
        }
        RegCreateKeyExA(root_, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr, key_.Receive(),
                        nullptr);
    }
    ~ScopedTestKey()
    {
        key_.Reset();
        if (createdTop_.empty())
            return;
        const size_t split = createdTop_.rfind('\\');
        ScopedRegKey parent;
        if (split == std::string::npos) {
            RegDeleteTreeA(root_, createdTop_.c_str());
        } else if (RegOpenKeyExA(root_, createdTop_.substr(0, split).c_str(), 0, KEY_ALL_ACCESS | view_,
                                 parent.Receive()) == ERROR_SUCCESS) {
            RegDeleteTreeA(parent.Get(), createdTop_.substr(split + 1).c_str());
        }
    }
    ScopedTestKey(const ScopedTestKey&) = delete;
    ScopedTestKey& operator=(const ScopedTestKey&) = delete;

    bool ok() const { return static_cast<bool>(key_); }
    HKEY Get() const { return key_.Get(); }
    bool Set(const char* name, DWORD type, const void* data, DWORD size)
    {
        return RegSetValueExA(key_.Get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    }
    bool SetText(const char* name, const std::string& text)
    {
        return Set(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    bool Remove(const char* name) { return RegDeleteValueA(key_.Get(), name) == ERROR_SUCCESS; }

private:
    HKEY root_;
    REGSAM view_;
    std::string createdTop_;
    ScopedRegKey key_;
};

// One value the test may overwrite or remove; restored on destruction.
class RegistryValueOverride {
public:
    RegistryValueOverride(HKEY root, const std::string& path, const char* name, REGSAM view)
        : key_(root, path, view), name_(name ? name : "")
    {
        DWORD size = 0;
        if (RegQueryValueExA(key_.Get(), valueName(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            saved_.resize(size);
            existed_ = RegQueryValueExA(key_.Get(), valueName(), nullptr, &type_, saved_.data(), &size) ==
                       ERROR_SUCCESS;
        }
    }
    ~RegistryValueOverride()
    {
        if (existed_)
            key_.Set(valueName(), type_, saved_.data(), static_cast<DWORD>(saved_.size()));
        else
            key_.Remove(valueName());
    }

    bool ok() const { return key_.ok(); }
    bool existed() const { return existed_; }
    bool SetText(const std::string& text) { return key_.SetText(valueName(), text); }
    bool SetDword(DWORD number) { return key_.Set(valueName(), REG_DWORD, &number, sizeof(number)); }
    bool Set(DWORD type, const void* data, DWORD size) { return key_.Set(valueName(), type, data, size); }
    void Remove() { key_.Remove(valueName()); }

private:
    const char* valueName() const { return name_.empty() ? nullptr : name_.c_str(); }

    ScopedTestKey key_;
    std::string name_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> saved_;
};
