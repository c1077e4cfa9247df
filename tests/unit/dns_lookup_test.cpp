#include "checks/network/dns_lookup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// One scripted answer per query, in turn.
struct ScriptedQuery {
    int32_t status = 0;
    bool hasRecord = true;
    uint16_t type = 0;
    uint8_t address[4] = {};
    std::string name;
    bool nullName = false;
};

class ScriptedDns : public DnsCalls {
public:
    bool crackSucceeds = true;
    std::string crackedHost = "www.example.test";
    std::vector<ScriptedQuery> answers;

    std::string crackedUrl;
    uint32_t crackedLength = 0, crackFlags = 0, hostBufferLength = 0;
    std::vector<std::string> queries;  // "name type options"
    int frees = 0;

    bool InternetCrackUrlA(const char* url, uint32_t urlLength, uint32_t flags, char* hostName,
                           uint32_t hostNameLength) override
    {
        crackedUrl = url;
        crackedLength = urlLength;
        crackFlags = flags;
        hostBufferLength = hostNameLength;
        if (!crackSucceeds || crackedHost.size() + 1 > hostNameLength)
            return false;
        std::memcpy(hostName, crackedHost.c_str(), crackedHost.size() + 1);
        return true;
    }
    int32_t DnsQuery_A(const char* name, uint16_t type, uint32_t options, DnsAnswer& answer) override
    {
        queries.push_back(std::string(name) + " " + std::to_string(type) + " " + std::to_string(options));
        const ScriptedQuery& q = answers.at(queries.size() - 1);
        if (q.status != 0)
            return q.status;
        answer.list = this;
        answer.hasRecord = q.hasRecord;
        answer.type = q.type;
        std::memcpy(answer.address, q.address, 4);
        answer.name = q.nullName ? nullptr : q.name.c_str();
        return 0;
    }
    void DnsRecordListFree(DnsAnswer& answer) override
    {
        frees += answer.list == this;
    }
};

ScriptedQuery A(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    ScriptedQuery q;
    q.type = kDnsTypeA;
    q.address[0] = a;
    q.address[1] = b;
    q.address[2] = c;
    q.address[3] = d;
    return q;
}

ScriptedQuery Ptr(const std::string& name)
{
    ScriptedQuery q;
    q.type = kDnsTypePtr;
    q.name = name;
    return q;
}

ScriptedQuery Status(int32_t status)
{
    ScriptedQuery q;
    q.status = status;
    return q;
}

ScriptedQuery Type(uint16_t type)
{
    ScriptedQuery q;
    q.type = type;
    return q;
}

TestResult Lookup(ScriptedDns& dns, const std::string& url = "https://www.example.test/")
{
    TestResult result;
    RunDnsLookup(dns, url, result);
    return result;
}

TEST(DnsLookup_Names, ReverseNameReversesTheBytes)
{
    const uint8_t address[4] = {192, 0, 2, 10};
    EXPECT_EQ(ReverseLookupName(address), "10.2.0.192.in-addr.arpa");
    const uint8_t high[4] = {203, 0, 113, 255};
    EXPECT_EQ(ReverseLookupName(high), "255.113.0.203.in-addr.arpa");
}

TEST(DnsLookup_Check, BothWaysWorkingIsValidatedWithTheCallsAsMade)
{
    ScriptedDns dns;
    dns.answers = {A(203, 0, 113, 10), Ptr("edge.example.test")};
    const TestResult result = Lookup(dns, "https://www.example.test/path");
    EXPECT_EQ(result.status, 'A');
    EXPECT_EQ(result.summary, "DNS validated");
    EXPECT_EQ(result.details, "DNS test: 'www.example.test' -> '203.0.113.10' -> 'edge.example.test'.");
    EXPECT_EQ(dns.crackedUrl, "https://www.example.test/path");
    EXPECT_EQ(dns.crackedLength, 29u);
    EXPECT_EQ(dns.crackFlags, 0x10000000u);
    EXPECT_EQ(dns.hostBufferLength, 256u);
    EXPECT_EQ(dns.queries,
              (std::vector<std::string>{"www.example.test 1 4096", "10.113.0.203.in-addr.arpa 12 0"}));
    EXPECT_EQ(dns.frees, 2);
}

struct FailureCase {
    std::vector<ScriptedQuery> answers;
    const char* details;
    int frees;
};

TEST(DnsLookup_Check, EveryFailureHasItsDetails)
{
    ScriptedQuery empty = Ptr("");
    ScriptedQuery nullName = Ptr("");
    nullName.nullName = true;
    ScriptedQuery noRecords = A(1, 2, 3, 4);
    noRecords.hasRecord = false;
    const FailureCase cases[] = {
        {{Status(9003)}, "DNS lookup of 'www.example.test' failed with error 9003.", 0},
        {{Status(-5)}, "DNS lookup of 'www.example.test' failed with error -5.", 0},
        {{Type(5)}, "DNS lookup of 'www.example.test' succeeded, but returned unexpected record type of 5.", 1},
        {{noRecords}, "DNS lookup of 'www.example.test' succeeded, but returned unexpected record type of 0.", 1},
        {{A(203, 0, 113, 7), Status(9502)}, "DNS reverse lookup of '203.0.113.7' failed with error 9502.", 1},
        {{A(203, 0, 113, 7), Status(9003)}, "DNS reverse lookup of '203.0.113.7' failed with error 9003.", 1},
        {{A(203, 0, 113, 7), Type(5)},
         "DNS reverse lookup of '203.0.113.7' succeeded, but returned unexpected type of 5", 2},
        {{A(203, 0, 113, 7), empty}, "DNS reverse lookup of '203.0.113.7' succeeded, but returned unreasonable data",
         2},
        {{A(203, 0, 113, 7), nullName},
         "DNS reverse lookup of '203.0.113.7' succeeded, but returned unreasonable data", 2},
        {{A(203, 0, 113, 7), Ptr(std::string(255, 'n'))},
         "DNS reverse lookup of '203.0.113.7' succeeded, but returned unreasonable data", 2},
    };
    for (const FailureCase& c : cases) {
        ScriptedDns dns;
        dns.answers = c.answers;
        const TestResult result = Lookup(dns);
        EXPECT_EQ(result.status, 'F') << c.details;
        EXPECT_EQ(result.summary, "DNS Failed");
        EXPECT_EQ(result.details, c.details);
        EXPECT_EQ(dns.frees, c.frees) << c.details;
    }
}

TEST(DnsLookup_Check, NameOf254CharactersIsStillAName)
{
    ScriptedDns dns;
    const std::string name(254, 'n');
    dns.answers = {A(203, 0, 113, 7), Ptr(name)};
    const TestResult result = Lookup(dns);
    EXPECT_EQ(result.status, 'A');
    EXPECT_EQ(result.details, "DNS test: 'www.example.test' -> '203.0.113.7' -> '" + name + "'.");
}

TEST(DnsLookup_Check, AddressThatCannotBeSplitIsAnInternalError)
{
    ScriptedDns dns;
    dns.crackSucceeds = false;
    const TestResult result = Lookup(dns, "not a url");
    EXPECT_EQ(result.status, 'F');
    EXPECT_EQ(result.summary, "Internal Error");
    EXPECT_EQ(result.details, "Internal Error");
    EXPECT_TRUE(dns.queries.empty());
}

TEST(DnsLookup_Check, HostOf255CharactersFitsAndLongerOneDoesNot)
{
    ScriptedDns fits;
    fits.crackedHost = std::string(255, 'h');
    fits.answers = {Status(123)};
    EXPECT_EQ(Lookup(fits).details, "DNS lookup of '" + fits.crackedHost + "' failed with error 123.");

    ScriptedDns tooLong;
    tooLong.crackedHost = std::string(256, 'h');
    EXPECT_EQ(Lookup(tooLong).summary, "Internal Error");
}

}  // namespace
