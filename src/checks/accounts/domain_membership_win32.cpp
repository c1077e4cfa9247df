#include "checks/accounts/domain_membership_win32.h"

#include "platform/scoped_win32.h"
#include "platform/system_library_win32.h"

#include <ntsecapi.h>
#include <lm.h>

#include <vector>

namespace {

// Older systems lack the LSA policy and workstation functions, so both
// libraries are loaded and the functions found by name.
using LsaCloseFn = NTSTATUS(NTAPI*)(LSA_HANDLE);
using LsaOpenPolicyFn = NTSTATUS(NTAPI*)(PLSA_UNICODE_STRING, PLSA_OBJECT_ATTRIBUTES, ACCESS_MASK, PLSA_HANDLE);
using LsaQueryInformationPolicyFn = NTSTATUS(NTAPI*)(LSA_HANDLE, POLICY_INFORMATION_CLASS, PVOID*);
using LsaFreeMemoryFn = NTSTATUS(NTAPI*)(PVOID);
using NetWkstaGetInfoFn = NET_API_STATUS(NET_API_FUNCTION*)(LMSTR, DWORD, LPBYTE*);
using NetApiBufferFreeFn = NET_API_STATUS(NET_API_FUNCTION*)(LPVOID);

// Something released by a function that was itself found at run time.
template <typename Resource, typename Release>
class ScopedByFunction {
public:
    explicit ScopedByFunction(Release release) : release_(release) {}
    ~ScopedByFunction()
    {
        if (resource_ != nullptr && release_ != nullptr)
            release_(resource_);
    }
    ScopedByFunction(const ScopedByFunction&) = delete;
    ScopedByFunction& operator=(const ScopedByFunction&) = delete;
    Resource Get() const { return resource_; }
    Resource* Receive() { return &resource_; }
    // A call that failed may have left anything in its output; nothing to release.
    void Abandon() { resource_ = nullptr; }

private:
    Resource resource_ = nullptr;
    Release release_;
};

LibraryLoadOutcome Load(ScopedLibrary& library, const char* name)
{
    LibraryLoadOutcome outcome;
    library.Reset(LoadSystemLibrary(name));
    outcome.loaded = static_cast<bool>(library);
    if (!outcome.loaded)
        outcome.errorCode = GetLastError();
    return outcome;
}

uint32_t QueryPlatformId()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info))
        return 0;
    return info.dwPlatformId;
}

std::string ToUtf8(const wchar_t* text)
{
    if (text == nullptr)
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(size));
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer.data(), size, nullptr, nullptr) <= 0)
        return std::string();
    return std::string(buffer.data());
}

} // namespace

DomainMembershipFacts QueryDomainMembershipFacts()
{
    DomainMembershipFacts facts;
    facts.platformId = QueryPlatformId();
    if (facts.platformId != kPlatformWin32Nt)
        return facts;

    ScopedLibrary advapi32;
    ScopedLibrary netapi32;
    facts.securityLibrary = Load(advapi32, "Advapi32");
    if (!facts.securityLibrary.loaded)
        return facts;
    facts.networkLibrary = Load(netapi32, "NetApi32");
    if (!facts.networkLibrary.loaded)
        return facts;

    auto lsaClose = LookUpProc<LsaCloseFn>(advapi32.Get(), "LsaClose");
    auto lsaOpenPolicy = LookUpProc<LsaOpenPolicyFn>(advapi32.Get(), "LsaOpenPolicy");
    auto lsaQueryInformationPolicy = LookUpProc<LsaQueryInformationPolicyFn>(advapi32.Get(), "LsaQueryInformationPolicy");
    auto netWkstaGetInfo = LookUpProc<NetWkstaGetInfoFn>(netapi32.Get(), "NetWkstaGetInfo");
    auto netApiBufferFree = LookUpProc<NetApiBufferFreeFn>(netapi32.Get(), "NetApiBufferFree");
    facts.functionsFound = lsaClose && lsaOpenPolicy && lsaQueryInformationPolicy && netWkstaGetInfo &&
                           netApiBufferFree;
    if (!facts.functionsFound)
        return facts;
    // The policy record belongs to the LSA; it is handed back when the
    // function to do so is there, and its absence changes nothing else.
    auto lsaFreeMemory = LookUpProc<LsaFreeMemoryFn>(advapi32.Get(), "LsaFreeMemory");

    {
        LSA_OBJECT_ATTRIBUTES attributes = {};
        ScopedByFunction<LSA_HANDLE, LsaCloseFn> policy(lsaClose);
        if (lsaOpenPolicy(nullptr, &attributes, POLICY_VIEW_LOCAL_INFORMATION, policy.Receive()) == 0) {
            ScopedByFunction<PVOID, LsaFreeMemoryFn> record(lsaFreeMemory);
            if (lsaQueryInformationPolicy(policy.Get(), PolicyDnsDomainInformation, record.Receive()) == 0 &&
                record.Get() != nullptr)
                facts.domainSidPresent = static_cast<POLICY_DNS_DOMAIN_INFO*>(record.Get())->Sid != nullptr;
            else
                record.Abandon();
        } else {
            policy.Abandon();
        }
    }

    {
        ScopedByFunction<LPBYTE, NetApiBufferFreeFn> record(netApiBufferFree);
        if (netWkstaGetInfo(nullptr, 101, record.Receive()) == 0 && record.Get() != nullptr) {
            const auto* info = reinterpret_cast<const WKSTA_INFO_101*>(record.Get());
            facts.workstation = WorkstationNames{ToUtf8(info->wki101_langroup), ToUtf8(info->wki101_computername)};
            return facts;
        }
        record.Abandon();
    }

    char name[256] = {};
    DWORD size = sizeof(name);
    if (GetComputerNameA(name, &size))
        facts.computerName = name;
    return facts;
}

void CheckDomainMembership(TestResult& result)
{
    GradeDomainMembership(QueryDomainMembershipFacts(), result);
}
