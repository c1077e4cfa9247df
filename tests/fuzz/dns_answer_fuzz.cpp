// DNS Lookup over scripted answers: any host, status, record type, address
// and reverse name. Every list given is freed once; the check passes only on
// an A answer, then a PTR answer with a name of 1 to 254 characters.
// Input: a byte of flags, a host line, then per query a byte of outcome,
// a 4-byte status and a 2-byte type; the A answer's 4 address bytes; the
// reverse name line.
#include "checks/network/dns_lookup.h"
#include "fuzz.h"

#include <vector>

namespace {

class ScriptedDns : public DnsCalls {
public:
    explicit ScriptedDns(FuzzInput& in) : in_(in) {}

    bool InternetCrackUrlA(const char*, uint32_t, uint32_t, char* hostName, uint32_t hostNameLength) override
    {
        const uint8_t flags = in_.Byte();
        host = in_.Line();
        if (host.size() >= hostNameLength && !(flags & 2))
            return false;
        // Some answers fill the whole buffer without a terminator.
        std::memcpy(hostName, host.data(), std::min<size_t>(host.size(), hostNameLength));
        return !(flags & 1);
    }
    int32_t DnsQuery_A(const char* name, uint16_t type, uint32_t, DnsAnswer& answer) override
    {
        names.push_back(name);
        const uint8_t outcome = in_.Byte();
        const int32_t status = outcome & 1 ? static_cast<int32_t>(in_.Number()) : 0;
        answer.list = &answer;
        answer.hasRecord = outcome & 2;
        answer.type = outcome & 4 ? static_cast<uint16_t>(in_.Byte() | in_.Byte() << 8) : type;
        for (uint8_t& byte : answer.address)
            byte = in_.Byte();
        reverseName = UpToNul(in_.Line());
        answer.name = outcome & 8 ? nullptr : reverseName.c_str();
        given += status == 0;
        return status;
    }
    void DnsRecordListFree(DnsAnswer& answer) override
    {
        FUZZ_CHECK(answer.list == &answer);
        answer.list = nullptr;
        ++freed;
    }

    FuzzInput& in_;
    std::string host, reverseName;
    std::vector<std::string> names;
    int given = 0, freed = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    ScriptedDns dns(in);
    TestResult result;
    RunDnsLookup(dns, "https://www.example.test/", result);
    FUZZ_CHECK(dns.freed == dns.given && dns.names.size() <= 2);
    FUZZ_CHECK(result.details.size() <= 1023);
    FUZZ_CHECK(result.status == 'A' || result.status == 'F');
    if (dns.names.size() == 2)
        FUZZ_CHECK(dns.names[1].size() >= 19 && dns.names[1].substr(dns.names[1].size() - 13) == ".in-addr.arpa");
    if (result.status == 'A') {
        const std::string name = dns.reverseName;
        FUZZ_CHECK(dns.names.size() == 2 && !name.empty() && name.size() <= 254);
        FUZZ_CHECK(result.summary == "DNS validated");
        FUZZ_CHECK(result.details.compare(result.details.size() - name.size() - 3, std::string::npos,
                                          "'" + name + "'.") == 0);
    }
    return 0;
}
