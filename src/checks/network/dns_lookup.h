// DNS Lookup: the host of the DNS test address resolved forward to its first
// IPv4 address, and that address back to a name.
#pragma once

#include "app/test_result.h"

#include <cstdint>
#include <string>

constexpr uint16_t kDnsTypeA = 1;
constexpr uint16_t kDnsTypePtr = 12;
constexpr uint32_t kDnsQueryStandard = 0;
constexpr uint32_t kDnsQueryTreatAsFqdn = 0x1000;
constexpr uint32_t kIcuDecode = 0x10000000;
constexpr uint32_t kHostNameBuffer = 256;

// The first record of an answer list, as the check reads it.
struct DnsAnswer {
    void* list = nullptr;          // the platform's list, for DnsRecordListFree
    bool hasRecord = false;        // the list holds at least one record
    uint16_t type = 0;             // the first record's type
    uint8_t address[4] = {};       // A: a, b, c, d in network order
    const char* name = nullptr;    // PTR: the host name, valid until the list is freed
};

// The calls the check makes, one method per call.
class DnsCalls {
public:
    virtual ~DnsCalls() = default;
    // Splits `url` (its length given) with the flags; the decoded host name
    // goes into hostName (hostNameLength bytes). False on failure, including
    // a host too long for the buffer.
    virtual bool InternetCrackUrlA(const char* url, uint32_t urlLength, uint32_t flags, char* hostName,
                                   uint32_t hostNameLength) = 0;
    // 0 on success, otherwise the status number; fills `answer` on success.
    virtual int32_t DnsQuery_A(const char* name, uint16_t type, uint32_t options, DnsAnswer& answer) = 0;
    virtual void DnsRecordListFree(DnsAnswer& answer) = 0;
};

// "d.c.b.a.in-addr.arpa" for the address a.b.c.d.
std::string ReverseLookupName(const uint8_t address[4]);

// The whole check over the calls: writes the letter and the texts.
void RunDnsLookup(DnsCalls& dns, const std::string& url, TestResult& result);

void CheckDnsLookup(TestResult& result);
