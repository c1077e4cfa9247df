// DNS Lookup over scripted answers: any host, status, record type, address and
// reverse name. Every list given is freed once; the check passes only on an A
// answer, then a PTR answer with a name of 1 to 254 characters.
#include "checks/network/dns_lookup.h"

#include <cassert>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <utility>
#include <vector>

struct ScriptedDns : DnsCalls {
    explicit ScriptedDns(FuzzedDataProvider& in) : in(in) {}
    bool InternetCrackUrlA(const char*, uint32_t, uint32_t, char* host, uint32_t length) override
    {
        // A host that fills the whole buffer may come without its terminator.
        const std::string name = in.ConsumeRandomLengthString(300);
        std::memcpy(host, name.data(), std::min<size_t>(name.size(), length));
        return (name.size() < length || in.ConsumeBool()) && !in.ConsumeBool();
    }
    int32_t DnsQuery_A(const char* name, uint16_t type, uint32_t, DnsAnswer& answer) override
    {
        names.push_back(name);
        const int32_t status = in.ConsumeBool() ? in.ConsumeIntegral<int32_t>() : 0;
        answer = {&answer, in.ConsumeBool(), in.ConsumeBool() ? in.ConsumeIntegral<uint16_t>() : type};
        for (uint8_t& byte : answer.address)
            byte = in.ConsumeIntegral<uint8_t>();
        reverseName = in.ConsumeRandomLengthString(300).c_str();
        answer.name = in.ConsumeBool() ? nullptr : reverseName.c_str();
        given += status == 0;
        return status;
    }
    void DnsRecordListFree(DnsAnswer& answer) override
    {
        assert(std::exchange(answer.list, nullptr) == &answer);
        ++freed;
    }

    FuzzedDataProvider& in;
    std::string reverseName;
    std::vector<std::string> names;
    int given = 0, freed = 0;
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    ScriptedDns dns(in);
    TestResult result;
    RunDnsLookup(dns, "https://www.example.test/", result);
    const std::string& name = dns.reverseName;
    assert(dns.freed == dns.given && dns.names.size() <= 2 && result.details.size() <= 1023);
    assert(dns.names.size() < 2 || dns.names[1].size() - dns.names[1].find(".in-addr.arpa") == 13);
    assert(result.status == (result.summary == "DNS validated" ? 'A' : 'F'));
    assert(result.status == 'F' || (dns.names.size() == 2 && !name.empty() && name.size() <= 254 &&
                                    result.details.size() - result.details.rfind("'" + name + "'.") == name.size() + 3));
    return 0;
}
