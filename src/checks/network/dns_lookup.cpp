#include "checks/network/dns_lookup.h"

#include "app/text_format.h"

#include <cstring>

namespace {

// The details are made with wsprintfA, whose output stops at 1,024 bytes.
constexpr size_t kDetailsBuffer = 1024;
constexpr size_t kAddressBuffer = 64;
constexpr size_t kLongestName = 254;  // a name of 255 characters or more is no name

// Frees an answer list on every path once the query has given one.
class AnswerList {
public:
    explicit AnswerList(DnsCalls& dns) : dns_(dns) {}
    ~AnswerList()
    {
        if (given_)
            dns_.DnsRecordListFree(answer_);
    }
    AnswerList(const AnswerList&) = delete;
    AnswerList& operator=(const AnswerList&) = delete;

    int32_t Query(const char* name, uint16_t type, uint32_t options)
    {
        const int32_t status = dns_.DnsQuery_A(name, type, options, answer_);
        given_ = status == 0;
        return status;
    }
    // A list without records has no type to show: 0.
    uint16_t FirstType() const { return answer_.hasRecord ? answer_.type : 0; }
    const DnsAnswer& First() const { return answer_; }

private:
    DnsCalls& dns_;
    DnsAnswer answer_;
    bool given_ = false;
};

// Steps 2 to 7: the details, and true when both lookups gave a usable answer.
bool Lookups(DnsCalls& dns, const char* host, std::string& details)
{
    uint8_t address[4] = {};
    {
        AnswerList forward(dns);
        const int32_t status = forward.Query(host, kDnsTypeA, kDnsQueryTreatAsFqdn);
        if (status != 0) {
            details = FormatBounded(kDetailsBuffer, "DNS lookup of '%s' failed with error %d.", host, status);
            return false;
        }
        if (forward.FirstType() != kDnsTypeA) {
            details = FormatBounded(kDetailsBuffer,
                                    "DNS lookup of '%s' succeeded, but returned unexpected record type of %d.",
                                    host, forward.FirstType());
            return false;
        }
        std::memcpy(address, forward.First().address, sizeof(address));
    }

    const std::string addressText =
        FormatBounded(kAddressBuffer, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
    const std::string reverseName = ReverseLookupName(address);

    std::string name;
    {
        AnswerList reverse(dns);
        const int32_t status = reverse.Query(reverseName.c_str(), kDnsTypePtr, kDnsQueryStandard);
        if (status != 0) {
            details = FormatBounded(kDetailsBuffer, "DNS reverse lookup of '%s' failed with error %d.",
                                    addressText.c_str(), status);
            return false;
        }
        if (reverse.FirstType() != kDnsTypePtr) {
            details = FormatBounded(kDetailsBuffer, "DNS reverse lookup of '%s' succeeded, but returned unexpected type of %d",
                                    addressText.c_str(), reverse.FirstType());
            return false;
        }
        const char* answered = reverse.First().name;
        if (answered != nullptr && std::strlen(answered) <= kLongestName)
            name = answered;
    }
    if (name.empty()) {
        details = FormatBounded(kDetailsBuffer, "DNS reverse lookup of '%s' succeeded, but returned unreasonable data",
                                addressText.c_str());
        return false;
    }
    details = FormatBounded(kDetailsBuffer, "DNS test: '%s' -> '%s' -> '%s'.", host, addressText.c_str(),
                            name.c_str());
    return true;
}

}  // namespace

std::string ReverseLookupName(const uint8_t address[4])
{
    return FormatBounded(kAddressBuffer, "%d.%d.%d.%d.in-addr.arpa", address[3], address[2], address[1], address[0]);
}

void RunDnsLookup(DnsCalls& dns, const std::string& url, TestResult& result)
{
    char host[kHostNameBuffer] = {};
    if (!dns.InternetCrackUrlA(url.c_str(), static_cast<uint32_t>(url.size()), kIcuDecode, host, kHostNameBuffer)) {
        result.summary = "Internal Error";
        result.details = "Internal Error";
        result.status = 'F';
        return;
    }
    host[kHostNameBuffer - 1] = '\0';
    if (Lookups(dns, host, result.details)) {
        result.summary = "DNS validated";
        result.status = 'A';
    } else {
        result.summary = "DNS Failed";
        result.status = 'F';
    }
}
