// The -url option among any arguments (one per line of the input): the
// address is the built-in one or an argument that follows a "-url"; a pair
// given last wins unless a "-url" before it is still waiting for its address.
#include "app/settings.h"
#include "fuzz.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    std::vector<std::string> arguments;
    while (!in.AtEnd())
        arguments.push_back(in.Line());
    const std::string builtIn = "https://www.example.test/";
    const std::string url = DnsTestUrlFromArguments(arguments, builtIn);

    bool follows = false;
    for (size_t i = 1; i < arguments.size(); ++i)
        follows = follows || (arguments[i - 1] == "-url" && arguments[i] == url);
    FUZZ_CHECK(url == builtIn || follows);
    if (std::find(arguments.begin(), arguments.end(), "-url") == arguments.end())
        FUZZ_CHECK(url == builtIn);

    // A "-url" with nothing after it changes nothing, unless it is itself the
    // address of a "-url" before it.
    std::vector<std::string> more = arguments;
    more.push_back("-url");
    const std::string dangling = DnsTestUrlFromArguments(more, builtIn);
    FUZZ_CHECK(dangling == url || dangling == "-url");
    more.push_back("https://other.example.test/");
    const std::string after = DnsTestUrlFromArguments(more, builtIn);
    FUZZ_CHECK(after == "https://other.example.test/" || after == "-url");
    return 0;
}
