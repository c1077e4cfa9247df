#include "checks/network/dns_lookup_win32.h"

#include "app/settings.h"

#include <windows.h>
#include <windns.h>
#include <wininet.h>

#include <cstring>

// MinGW's header makes DnsRecordListFree a macro (over DnsFree, which is what
// the call does); it is taken here, before the name is freed for the method.
static void FreeRecordList(PDNS_RECORD records)
{
    DnsRecordListFree(records, DnsFreeRecordList);
}
#undef DnsRecordListFree

static_assert(kDnsTypeA == DNS_TYPE_A && kDnsTypePtr == DNS_TYPE_PTR);
static_assert(kDnsQueryStandard == DNS_QUERY_STANDARD && kDnsQueryTreatAsFqdn == DNS_QUERY_TREAT_AS_FQDN);
static_assert(kIcuDecode == ICU_DECODE);

bool WindowsDnsCalls::InternetCrackUrlA(const char* url, uint32_t urlLength, uint32_t flags, char* hostName,
                                        uint32_t hostNameLength)
{
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = hostName;
    parts.dwHostNameLength = hostNameLength;
    return ::InternetCrackUrlA(url, urlLength, flags, &parts) != FALSE;
}

int32_t WindowsDnsCalls::DnsQuery_A(const char* name, uint16_t type, uint32_t options, DnsAnswer& answer)
{
    PDNS_RECORDA records = nullptr;
    const DNS_STATUS status =
        ::DnsQuery_A(name, type, options, nullptr, reinterpret_cast<PDNS_RECORD*>(&records), nullptr);
    if (status != 0)
        return static_cast<int32_t>(status);
    answer.list = records;
    answer.hasRecord = records != nullptr;
    if (records != nullptr) {
        answer.type = records->wType;
        if (records->wType == DNS_TYPE_A)
            std::memcpy(answer.address, &records->Data.A.IpAddress, sizeof(answer.address));
        else if (records->wType == DNS_TYPE_PTR)
            answer.name = records->Data.PTR.pNameHost;
    }
    return 0;
}

void WindowsDnsCalls::DnsRecordListFree(DnsAnswer& answer)
{
    if (answer.list != nullptr)
        FreeRecordList(static_cast<PDNS_RECORD>(answer.list));
    answer = DnsAnswer();
}

void CheckDnsLookup(TestResult& result)
{
    WindowsDnsCalls dns;
    RunDnsLookup(dns, g_dnsTestUrl, result);
}
