// Registry changes a test makes and undoes: every value it touches is put
// back as it was (or removed), and the part of the key's path the test had
// to create is deleted with everything under it. `view` is 0 (the program's
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
        for (size_t end = path.find('\\'); created_.empty(); end = path.find('\\', end + 1)) {
            ScopedRegKey probe;
            if (RegOpenKeyExA(root, path.substr(0, end).c_str(), 0, KEY_READ | view, probe.Receive()) != ERROR_SUCCESS)
                created_ = path.substr(0, end);
            if (end == std::string::npos)
                break;
        }
        EXPECT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS | view, nullptr,
                                  key_.Receive(), nullptr),
                  ERROR_SUCCESS)
            << path;
    }
    ~ScratchKey()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->existed)
                RegSetValueExA(key_.Get(), it->name.c_str(), 0, it->type, it->data.data(), it->data.size());
            else
                RegDeleteValueA(key_.Get(), it->name.c_str());
        }
        key_.Reset();
        const size_t slash = created_.rfind('\\');
        ScopedRegKey parent;
        if (!created_.empty() && RegOpenKeyExA(root_, slash == std::string::npos ? "" : created_.substr(0, slash).c_str(), 0, KEY_ALL_ACCESS | view_,
                                               parent.Receive()) == ERROR_SUCCESS)
            RegDeleteTreeA(parent.Get(), created_.substr(slash + 1).c_str());
    }

    HKEY Get() const { return key_.Get(); }
    bool Created() const { return !created_.empty(); }

    void Set(const char* name, DWORD type, const std::string& data)
    {
        Remember(name);
        EXPECT_EQ(RegSetValueExA(key_.Get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()), data.size()),
                  ERROR_SUCCESS)
            << name;
    }
    void SetText(const char* name, const std::string& text) { Set(name, REG_SZ, text + '\0'); }
    void SetDword(const char* name, DWORD value) { Set(name, REG_DWORD, std::string(reinterpret_cast<char*>(&value), 4)); }
    void Remove(const char* name)
    {
        Remember(name);
        RegDeleteValueA(key_.Get(), name);
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
            saved.data.resize(size + 1);
            saved.existed =
                RegQueryValueExA(key_.Get(), name, nullptr, &saved.type, saved.data.data(), &size) == ERROR_SUCCESS;
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
