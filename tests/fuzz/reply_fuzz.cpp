// The benchmark service's reply: status and length texts, and the address
// after "OK " in a body read in pieces of any size. Input: a status line,
// a length line, one byte of read size, then the body.
#include "checks/network/decimal_text.h"
#include "checks/network/network_speed.h"
#include "checks/network/upload_benchmark.h"
#include "fuzz.h"
#include "../unit/scripted_wininet.h"

namespace {

// What the address rule promises of any body.
std::string ExpectedAddress(const std::string& body)
{
    const std::string text = UpToNul(body);
    if (text.compare(0, 3, "OK ") != 0)
        return "";
    const size_t end = text.find_first_not_of("0123456789.", 3);
    return text.substr(3, std::min<size_t>(63, (end == std::string::npos ? text.size() : end) - 3));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    ScriptedWinInet net;
    net.statusText = in.Line();
    net.contentLength = in.Line();
    net.readChunk = in.Byte() + 1;
    net.body = in.Rest();
    FUZZ_CHECK(PublicAddressFromReply(net.body.c_str()) == ExpectedAddress(net.body));

    const uint8_t payload[16] = {};
    UploadContext context;
    context.payload = payload;
    context.payloadSize = sizeof(payload);
    ScriptedControls controls;
    g_publicAddress = "stale";  // every run starts without an address
    const UploadOutcome outcome = RunUploadBenchmark(context, net, controls);

    const int32_t status = ReadLeadingLong(UpToNul(net.statusText.substr(0, 2047)).c_str());
    FUZZ_CHECK(context.httpStatus == static_cast<uint32_t>(status));
    if (status != 200) {
        FUZZ_CHECK(outcome == (UploadOutcome{UploadOutcome::End::HttpStatus, context.httpStatus}));
        FUZZ_CHECK(g_publicAddress.empty());
        return 0;
    }
    FUZZ_CHECK(outcome == UploadOutcome{});
    const std::string lengthText = net.contentLength.empty() ? std::to_string(net.body.size()) : net.contentLength;
    const int64_t announced = ReadLeadingDecimal(UpToNul(lengthText.substr(0, 2047)).c_str());
    FUZZ_CHECK(context.replyContentLength == std::clamp<int64_t>(announced, 0, UINT32_MAX));
    // Only a believable length has its body read, and never past that length.
    if (announced < 0 || announced > static_cast<int64_t>(kLargestReplyBody))
        FUZZ_CHECK(g_publicAddress.empty());
    else
        FUZZ_CHECK(g_publicAddress == ExpectedAddress(net.body.substr(0, announced)));
    return 0;
}
