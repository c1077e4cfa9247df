#include "checks/accounts/default_web_browser.h"

#include "app/text_format.h"

namespace {

// The file-name part of a path as the runtime's path splitter gives it: after
// a drive and the last folder separator, up to the last dot.
std::string FileNamePart(const std::string& path)
{
    size_t start = (path.size() >= 2 && path[1] == ':') ? 2 : 0;
    const size_t separator = path.find_last_of("\\/");
    if (separator != std::string::npos && separator >= start)
        start = separator + 1;
    std::string name = path.substr(start);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string ProbePagePath(const std::string& temporaryFolder)
{
    return FormatBounded(260, "%s\\blank.html", temporaryFolder.c_str());
}

bool FindDefaultBrowserName(const std::optional<std::string>& browserExecutable, std::string& name)
{
    name.clear();
    if (!browserExecutable)
        return false;
    for (char c : FileNamePart(*browserExecutable))
        name += LowerAscii(c);
    return true;
}

void GradeDefaultWebBrowser(const DefaultWebBrowserFacts& facts, TestResult& result)
{
    // When no browser is found the summary simply stays empty.
    FindDefaultBrowserName(facts.browserExecutable, result.summary);
    result.status = 'I';

    const std::optional<std::string>* version = nullptr;
    if (result.summary == "firefox")
        version = &facts.firefoxVersion;
    else if (result.summary == "iexplorer" || result.summary == "iexplore")
        version = &facts.ieVersion;
    else if (result.summary == "chrome")
        version = &facts.chromeVersion;
    if (version != nullptr && version->has_value())
        result.summary += "  " + **version;

    result.details = "Mozilla Firefox, Google Chrome, Microsoft Edge, or Microsoft Internet Explorer 11.0 or better.";
}
