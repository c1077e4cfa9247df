#include "app/check_made_files.h"

#include <algorithm>
#include <mutex>

namespace {

// Never destroyed: the program's end may read them while the worker runs.
std::mutex& FilesLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

std::vector<std::string>& Files()
{
    static auto* files = new std::vector<std::string>;
    return *files;
}

} // namespace

void NoteFileMadeByCheck(const std::string& path)
{
    std::lock_guard<std::mutex> guard(FilesLock());
    Files().push_back(path);
}

void ForgetFileMadeByCheck(const std::string& path)
{
    std::lock_guard<std::mutex> guard(FilesLock());
    auto& files = Files();
    const auto found = std::find(files.begin(), files.end(), path);
    if (found != files.end())
        files.erase(found);
}

std::vector<std::string> FilesMadeByCheck()
{
    std::lock_guard<std::mutex> guard(FilesLock());
    return Files();
}
