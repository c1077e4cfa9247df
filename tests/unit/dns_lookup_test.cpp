#include "checks/network/dns_lookup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// One answer per query, in turn; every A record holds 203.0.113.7.
struct Answer { int32_t status; uint16_t type; std::string name; };

class ScriptedDns : public DnsCalls {
public:
    std::vector<Answer> answers;
    std::vector<std::string> queries;  // "name type options"
    int frees = 0;

    bool InternetCrackUrlA(const char*, uint32_t, uint32_t, char* hostName, uint32_t hostNameLength) override
    {
        std::snprintf(hostName, hostNameLength, "www.example.test");
        return !answers.empty();  // no answers: an address that cannot be split
    }
    int32_t DnsQuery_A(const char* name, uint16_t type, uint32_t options, DnsAnswer& answer) override
    {
        queries.push_back(std::string(name) + " " + std::to_string(type) + " " + std::to_string(options));
        const Answer& a = answers.at(queries.size() - 1);
        if (a.status == 0)
            answer = {this, true, a.type, {203, 0, 113, 7}, a.name.c_str()};
        return a.status;
    }
    void DnsRecordListFree(DnsAnswer& answer) override { frees += answer.list == this; }
};

TEST(DnsLookup_Check, ForwardAndReverseAnswersAndEveryFailure)
{
    const Answer a = {0, kDnsTypeA, ""};
    const std::string unreasonable = "DNS reverse lookup of '203.0.113.7' succeeded, but returned unreasonable data";
    const std::string longest(254, 'n');
    const std::tuple<std::vector<Answer>, std::string, int> cases[] = {  // answers, details, lists freed
        {{a, {0, kDnsTypePtr, "edge.example.test"}},
         "DNS test: 'www.example.test' -> '203.0.113.7' -> 'edge.example.test'.", 2},
        {{a, {0, kDnsTypePtr, longest}}, "DNS test: 'www.example.test' -> '203.0.113.7' -> '" + longest + "'.", 2},
        {{{9003, 0, ""}}, "DNS lookup of 'www.example.test' failed with error 9003.", 0},
        {{{0, 5, ""}}, "DNS lookup of 'www.example.test' succeeded, but returned unexpected record type of 5.", 1},
        {{a, {9003, 0, ""}}, "DNS reverse lookup of '203.0.113.7' failed with error 9003.", 1},
        {{a, {0, 5, ""}}, "DNS reverse lookup of '203.0.113.7' succeeded, but returned unexpected type of 5", 2},
        {{a, {0, kDnsTypePtr, ""}}, unreasonable, 2},
        {{a, {0, kDnsTypePtr, std::string(255, 'n')}}, unreasonable, 2},
        {{}, "Internal Error", 0},
    };
    const std::vector<std::string> queries = {"www.example.test 1 4096", "7.113.0.203.in-addr.arpa 12 0"};
    for (const auto& [answers, details, frees] : cases) {
        ScriptedDns dns;
        dns.answers = answers;
        TestResult result;
        RunDnsLookup(dns, "https://www.example.test/", result);
        const bool validated = details.rfind("DNS test: ", 0) == 0;
        const std::string summary = validated ? "DNS validated" : answers.empty() ? "Internal Error" : "DNS Failed";
        EXPECT_EQ(std::tie(result.status, result.summary, result.details, dns.frees),
                  std::make_tuple(validated ? 'A' : 'F', summary, details, frees));
        EXPECT_EQ(dns.queries, std::vector<std::string>(queries.begin(), queries.begin() + answers.size()));
    }
}

}  // namespace
