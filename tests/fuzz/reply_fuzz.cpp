// The benchmark service's reply: status and length texts read as strtoll reads
// them but held to the limits, and the address after "OK " in a body read in
// pieces of any size, never past its announced length.
#include "checks/network/decimal_text.h"
#include "checks/network/network_speed.h"
#include "../unit/scripted_wininet.h"
#include "fuzz.h"

static std::string Address(std::string body)  // up to 63 characters of digits and dots after "OK "
{
    return body = body.c_str(), body.compare(0, 3, "OK ") ? "" : body.substr(3, std::min(body.find_first_not_of("0123456789.", 3), size_t{66}) - 3);
}

FUZZ(in)
{
    ScriptedWinInet net;
    net.readChunk = in.ConsumeIntegralInRange(1, 256);
    net.statusText = in.ConsumeRandomLengthString(4096);
    net.contentLength = in.ConsumeRandomLengthString(4096);
    net.body = in.ConsumeRemainingBytesAsString();
    for (const std::string& text : {net.statusText, net.contentLength}) {
        const long long expected = std::strtoll(text.c_str(), nullptr, 10);
        assert(ReadLeadingDecimal(text.c_str()) == expected);
        assert(ReadLeadingLong(text.c_str()) == std::clamp<long long>(expected, INT32_MIN, INT32_MAX));
    }
    assert(PublicAddressFromReply(net.body.c_str()) == Address(net.body));
    UploadContext context;
    ScriptedControls controls;
    g_publicAddress = "stale";
    RunUploadBenchmark(context, net, controls);
    // The headers come in 2,048-byte buffers. Only a status 200 with a believable length has its body read.
    const std::string length = net.contentLength.empty() ? std::to_string(net.body.size()) : net.contentLength;
    const int64_t announced = ReadLeadingDecimal(length.substr(0, 2047).c_str());
    assert(context.httpStatus == static_cast<uint32_t>(ReadLeadingLong(net.statusText.substr(0, 2047).c_str())));
    const bool read = context.httpStatus == 200 && announced >= 0 && announced <= int64_t{kLargestReplyBody};
    assert(g_publicAddress == (read ? Address(net.body.substr(0, announced)) : ""));
}
