#include "checks/network/internet_access.h"

#include "app/settings.h"
#include "app/text_format.h"
#include "checks/network/decimal_text.h"
#include "checks/network/network_speed.h"

namespace {

// The request profile of the upload benchmark, with the secure flag always on
// and automatic redirection left to WinINet.
constexpr uint32_t kConnectFlags = 0x040C3040;
constexpr uint32_t kRequestFlags = 0x80C03300;
const char* const kAcceptTypes[] = {"text/plain", "text/html", nullptr};

constexpr size_t kTextBuffer = 1024;
constexpr uint32_t kStatusBuffer = 2048;
constexpr uint32_t kReadBlock = 2048;
constexpr uint32_t kResponseInfoBuffer = 2047;
// The page is read only to complete the exchange, then thrown away. A server
// that never ends it (a captive portal, a broken proxy) would hold the run
// for ever: after this much the read counts as complete.
constexpr uint64_t kLargestPageRead = 1024 * 1024;

// Labels as the details name them.
const char* const kStepOpen = "Internal Error(InternetOpen)";
const char* const kStepConnect = "InternetConnect";
const char* const kStepOpenRequest = "HttpOpenRequest";
const char* const kStepAddHeaders = "HttpAddRequestHeaders";
const char* const kStepSend = "HttpSendRequest";
const char* const kStepResponseInfo = "InternetGetLastResponseInfo";
const char* const kStepStatus = "HttpQueryInfo(STATUS_CODE)";
const char* const kStepRead = "InternetReadFile";

struct Handles {
    NetHandle internet = nullptr;
    NetHandle connection = nullptr;
    NetHandle request = nullptr;
};

void Exchange(WinInetCalls& net, const std::string& siteHost, Handles& h, InternetAccessFacts& facts)
{
    auto fail = [&](const char* label) {
        facts.failedStep = label;
        facts.errorNumber = net.GetLastError();
    };

    h.internet = net.InternetOpenA("Kavlo/1.0", wininet::kOpenTypePreconfig, nullptr, nullptr, 0);
    if (!h.internet)
        return fail(kStepOpen);
    SetWindowsDefaultTimeouts(net, h.internet);
    h.connection = net.InternetConnectA(h.internet, siteHost.c_str(), wininet::kDefaultHttpsPort, nullptr, nullptr,
                                        wininet::kServiceHttp, kConnectFlags, 0);
    if (!h.connection)
        return fail(kStepConnect);
    h.request = net.HttpOpenRequestA(h.connection, "GET", "/", "HTTP/1.1", "", kAcceptTypes, kRequestFlags, 0);
    if (!h.request)
        return fail(kStepOpenRequest);
    SetWindowsDefaultTimeouts(net, h.request);

    // The vendor's certificate is accepted whoever issued it and whatever
    // name it carries; what matters is that the site answers.
    uint32_t securityFlags = 0;
    uint32_t length = sizeof(securityFlags);
    if (net.InternetQueryOptionA(h.request, wininet::kOptionSecurityFlags, &securityFlags, &length)) {
        securityFlags |= wininet::kIgnoreUnknownCaAndCn;
        net.InternetSetOptionA(h.request, wininet::kOptionSecurityFlags, &securityFlags, sizeof(securityFlags));
    }

    if (!net.HttpAddRequestHeadersA(h.request, "Connection: Keep-Alive", wininet::kHeadersTerminated,
                                    wininet::kAddReqCoalesceWithComma) ||
        !net.HttpAddRequestHeadersA(h.request, "Cache-Control: no-cache", wininet::kHeadersTerminated,
                                    wininet::kAddReqCoalesceWithComma))
        return fail(kStepAddHeaders);

    // From the send to the end of the page, one budget: a host that trickles
    // the page within each receive time-out still ends the check.
    ExchangeBudget budget(net);
    budget.Arm();
    if (!net.HttpSendRequestA(h.request, nullptr, 0, nullptr, 0))
        return fail(kStepSend);

    char responseText[kResponseInfoBuffer] = {};
    uint32_t responseLength = kResponseInfoBuffer;
    uint32_t responseError = 0;
    if (!net.InternetGetLastResponseInfoA(&responseError, responseText, &responseLength))
        return fail(kStepResponseInfo);
    facts.errorNumber = responseError;
    // An exchange that completes with a response error has no failed step;
    // the details then name the call that reported it.
    if (responseError != 0)
        facts.failedStep = kStepResponseInfo;

    char statusText[kStatusBuffer] = {};
    uint32_t statusLength = kStatusBuffer;
    if (!net.HttpQueryInfoA(h.request, wininet::kQueryStatusCode, statusText, &statusLength, nullptr))
        return fail(kStepStatus);
    statusText[kStatusBuffer - 1] = '\0';
    facts.httpStatus = static_cast<uint32_t>(ReadLeadingLong(statusText));
    if (facts.httpStatus != 200) {
        facts.failedStep = nullptr;
        facts.errorNumber = 0;
        return;
    }

    char block[kReadBlock];
    for (uint64_t total = 0; total < kLargestPageRead;) {
        uint32_t read = 0;
        budget.Arm();
        if (!net.InternetReadFile(h.request, block, kReadBlock, &read))
            return fail(kStepRead);
        if (read == 0)
            break;
        total += read < kReadBlock ? read : kReadBlock;
    }
}

}  // namespace

std::string SiteRootUrl()
{
    return "https://" + g_vendorSiteHost + "/";
}

InternetAccessFacts RunInternetAccess(WinInetCalls& net, const std::string& siteHost)
{
    InternetAccessFacts facts;
    Handles h;
    Exchange(net, siteHost, h, facts);
    if (h.request)
        net.InternetCloseHandle(h.request);
    if (h.internet)
        net.InternetCloseHandle(h.internet);
    if (h.connection)
        net.InternetCloseHandle(h.connection);
    return facts;
}

void GradeInternetAccess(const InternetAccessFacts& facts, TestResult& result)
{
    const std::string url = SiteRootUrl();
    if (facts.failedStep == nullptr && facts.errorNumber == 0) {
        result.details = "Our software needs to communicate with our web site to upload images.";
        if (facts.httpStatus == 200) {
            result.summary = FormatBounded(kTextBuffer, "HTTPS to \"%s\" works", url.c_str());
            result.status = 'A';
        } else {
            result.summary = FormatBounded(kTextBuffer, "HTTPS to \"%s\" failed, HTTP code %lu", url.c_str(),
                                           static_cast<unsigned long>(facts.httpStatus));
            result.status = 'F';
        }
    } else {
        const std::string text = facts.hasErrorText ? facts.errorText : std::string("<Unknown>");
        result.details = FormatBounded(kTextBuffer, "Error Code: %lu on '%s': %s",
                                       static_cast<unsigned long>(facts.errorNumber),
                                       facts.failedStep ? facts.failedStep : kStepResponseInfo, text.c_str());
        result.summary = FormatBounded(kTextBuffer, "HTTPS access to \"%s\" failed", url.c_str());
        result.status = 'F';
    }
    g_internetReachable = result.status != 'F';
}
