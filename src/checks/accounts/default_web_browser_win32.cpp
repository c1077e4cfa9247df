#include "checks/accounts/default_web_browser.h"

#include "platform/registry_win32.h"
#include "platform/scoped_win32.h"

#include <shellapi.h>

namespace {

// An empty page in the temporary folder, there only to ask which program
// opens pages. It is made with a delete-on-close handle that stays open while
// the question is asked, so the system removes it however the check ends,
// the program ended in the middle of it too. A file of that name that was
// there before belongs to the user: it serves the question as well and is
// left where it is.
class ProbePage {
public:
    explicit ProbePage(std::string path) : path_(std::move(path))
    {
        file_.Reset(CreateFileA(path_.c_str(), GENERIC_WRITE | DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file_) {
            usable_ = true;
        } else if (GetLastError() == ERROR_FILE_EXISTS) {
            const DWORD attributes = GetFileAttributesA(path_.c_str());
            usable_ = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        }
    }

    bool usable() const { return usable_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    ScopedHandle file_;
    bool usable_ = false;
};

std::optional<std::string> FindDefaultBrowserExecutable()
{
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH)
        return std::nullopt;
    ProbePage page(ProbePagePath(folder));
    if (!page.usable())
        return std::nullopt;
    char executable[MAX_PATH] = {};
    const HINSTANCE found = FindExecutableA(page.path().c_str(), folder, executable);
    if (reinterpret_cast<INT_PTR>(found) <= 32)
        return std::nullopt;
    return std::string(executable);
}

} // namespace

void CheckDefaultWebBrowser(TestResult& result)
{
    DefaultWebBrowserFacts facts;
    facts.browserExecutable = FindDefaultBrowserExecutable();
    facts.firefoxVersion = ReadRegKeyValueText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Mozilla\\Mozilla Firefox", "CurrentVersion");
    facts.ieVersion = ReadRegKeyValueText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Internet Explorer", "Version");
    facts.chromeVersion = ReadRegKeyValueText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Google\\Chrome\\BLBeacon", "version");
    GradeDefaultWebBrowser(facts, result);
}
