// The DNS client and the URL splitter behind the DNS Lookup check's calls.
#pragma once

#include "checks/network/dns_lookup.h"

class WindowsDnsCalls : public DnsCalls {
public:
    bool InternetCrackUrlA(const char* url, uint32_t urlLength, uint32_t flags, char* hostName,
                           uint32_t hostNameLength) override;
    int32_t DnsQuery_A(const char* name, uint16_t type, uint32_t options, DnsAnswer& answer) override;
    void DnsRecordListFree(DnsAnswer& answer) override;
};
