// Registry changes a test makes and undoes: values are put back as they
// were (or removed when they did not exist), and keys the test had to
// create are deleted with everything under them. `view` is 0 (the program's
// own view), KEY_WOW64_64KEY or KEY_WOW64_32KEY.
#pragma once

#include "platform/scoped_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ScratchKey {
public:
    ScratchKey(HKEY root, const std::string& path, REGSAM view, DWORD options = REG_OPTION_NON_VOLATILE)
        : root_(root), view_(view)
    {
        // Remember the first part of the path that does not exist yet: that
        // is what the test creates, and what it removes again.
        size_t end = 0;
        while (end != std::string::npos) {
            end = path.find('\\', end + 1);
            const std::string prefix = path.substr(0, end);
            ScopedRegKey probe;
            if (RegOpenKeyExA(root, prefix.c_str(), 0, KEY_READ | view, probe.Receive()) != ERROR_SUCCESS) {
                created_ = prefix;
                break;
            }
        }
        const LONG status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS | view, nullptr,
                                            key_.Receive(), nullptr);
        EXPECT_EQ(status, ERROR_SUCCESS) << path;
    }
    ~ScratchKey()
    {
        RestoreValues();
        key_.Reset();
        if (created_.empty())
            return;
        const size_t slash = created_.rfind('\\');
        ScopedRegKey parent;
        const std::string parentPath = slash == std::string::npos ? std::string() : created_.substr(0, slash);
        const std::string leaf = slash == std::string::npos ? created_ : created_.substr(slash + 1);
        if (RegOpenKeyExA(root_, parentPath.empty() ? nullptr : parentPath.c_str(), 0, KEY_ALL_ACCESS | view_,
                          parent.Receive()) == ERROR_SUCCESS)
            RegDeleteTreeA(parent.Get(), leaf.c_str());
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Get() const { return key_.Get(); }
    bool Created() const { return !created_.empty(); }

    void Set(const char* name, DWORD type, const void* data, DWORD size)
    {
        Remember(name);
        EXPECT_EQ(RegSetValueExA(key_.Get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS)
            << name;
    }
    void SetText(const char* name, const std::string& text) { Set(name, REG_SZ, text.c_str(), text.size() + 1); }
    void SetDword(const char* name, DWORD value) { Set(name, REG_DWORD, &value, sizeof(value)); }
    void Remove(const char* name)
    {
        Remember(name);
        RegDeleteValueA(key_.Get(), name);
    }

    // Puts every value touched so far back as it was.
    void RestoreValues()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->existed)
                RegSetValueExA(key_.Get(), it->name.c_str(), 0, it->type, it->data.data(),
                               static_cast<DWORD>(it->data.size()));
            else
                RegDeleteValueA(key_.Get(), it->name.c_str());
        }
        saved_.clear();
    }

private:
    struct SavedValue {
        std::string name;
        bool existed = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };

    void Remember(const char* name)
    {
        for (const SavedValue& saved : saved_)
            if (saved.name == name)
                return;
        SavedValue saved;
        saved.name = name;
        DWORD size = 0;
        if (RegQueryValueExA(key_.Get(), name, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
            saved.data.resize(size);
            saved.existed = RegQueryValueExA(key_.Get(), name, nullptr, &saved.type,
                                             saved.data.empty() ? nullptr : saved.data.data(), &size) == ERROR_SUCCESS;
            saved.data.resize(size);
        }
        saved_.push_back(saved);
    }

    HKEY root_;
    REGSAM view_;
    std::string created_;
    ScopedRegKey key_;
    std::vector<SavedValue> saved_;
};
