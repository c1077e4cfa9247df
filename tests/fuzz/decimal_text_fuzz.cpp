// Status and length texts: read as strtoll reads them, held to the limits
// instead of wrapping; a status text as long as its buffer is still read.
#include "checks/network/decimal_text.h"
#include "checks/network/internet_access.h"
#include "fuzz.h"
#include "../unit/scripted_wininet.h"

#include <cerrno>
#include <climits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const long long expected = std::strtoll(text.c_str(), nullptr, 10);
    FUZZ_CHECK(ReadLeadingDecimal(text.c_str()) == expected);
    FUZZ_CHECK(ReadLeadingLong(text.c_str()) == std::clamp<long long>(expected, INT32_MIN, INT32_MAX));

    // The site's status arrives in a 2,048-byte buffer: only what fits counts.
    ScriptedWinInet net;
    net.statusText = text;
    net.body.clear();
    const InternetAccessFacts facts = RunInternetAccess(net, "www.example.test");
    const std::string kept = UpToNul(text.substr(0, 2047));
    FUZZ_CHECK(facts.httpStatus == static_cast<uint32_t>(ReadLeadingLong(kept.c_str())));
    return 0;
}
