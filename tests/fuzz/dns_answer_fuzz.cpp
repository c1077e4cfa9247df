// DNS Lookup over scripted answers: any host, status, record type, address and
// reverse name. Every list given is freed once; the check passes only on an A
// answer, then a PTR answer with a name of 1 to 254 characters.
#include "checks/network/dns_lookup.h"
#include "fuzz.h"

struct ScriptedDns : DnsCalls {
    explicit ScriptedDns(FuzzedDataProvider& in) : in(in) {}
    bool InternetCrackUrlA(const char*, uint32_t, uint32_t, char* host, uint32_t length) override
    {   // a host that fills the whole buffer may come without its terminator
        name = in.ConsumeRandomLengthString(300);
        std::memcpy(host, name.data(), std::min<size_t>(name.size(), length));
        return (name.size() < length || in.ConsumeBool()) && !in.ConsumeBool();
    }
    int32_t DnsQuery_A(const char*, uint16_t type, uint32_t, DnsAnswer& answer) override
    {
        const int32_t status = in.ConsumeBool() ? in.ConsumeIntegral<int32_t>() : 0;
        answer = {&answer, in.ConsumeBool(), in.ConsumeBool() ? in.ConsumeIntegral<uint16_t>() : type};
        for (uint8_t& byte : answer.address)
            byte = in.ConsumeIntegral<uint8_t>();
        name = in.ConsumeRandomLengthString(300).c_str();
        answer.name = in.ConsumeBool() ? nullptr : name.c_str();
        return given += status == 0, ++queries, status;
    }
    void DnsRecordListFree(DnsAnswer& answer) override { assert(std::exchange(answer.list, nullptr) == &answer), ++freed; }
    FuzzedDataProvider& in;
    std::string name;
    int queries = 0, given = 0, freed = 0;
};

FUZZ(in)
{
    ScriptedDns dns(in);
    TestResult result;
    RunDnsLookup(dns, "https://www.example.test/", result);
    const std::string& name = dns.name;
    assert(dns.freed == dns.given && dns.queries <= 2 && result.details.size() <= 1023);
    assert(result.status == (result.summary == "DNS validated" ? 'A' : 'F'));
    assert(result.status == 'F' || (dns.queries == 2 && !name.empty() && name.size() <= 254 &&
                                    result.details.size() - result.details.rfind("'" + name + "'.") == name.size() + 3));
}
