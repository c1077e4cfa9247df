#include "checks/accounts/local_admin_win32.h"

#include "platform/scoped_win32.h"

namespace {

struct SidTraits {
    static PSID Invalid() { return nullptr; }
    static bool IsValid(PSID sid) { return sid != nullptr; }
    static void Close(PSID sid) { FreeSid(sid); }
};
using ScopedSid = Scoped<PSID, SidTraits>;

struct LocalMemoryTraits {
    static HLOCAL Invalid() { return nullptr; }
    static bool IsValid(HLOCAL memory) { return memory != nullptr; }
    static void Close(HLOCAL memory) { LocalFree(memory); }
};
using ScopedLocalMemory = Scoped<HLOCAL, LocalMemoryTraits>;

constexpr DWORD kProbeRead = 1;
constexpr DWORD kProbeWrite = 2;

} // namespace

bool IsLocalAdmin()
{
    // Declared in the order they are made, so that they are released in the
    // reverse order on every path: access list, descriptor, identifier,
    // impersonation token, token.
    ScopedHandle token;
    ScopedHandle impersonationToken;
    ScopedSid administrators;
    ScopedLocalMemory descriptor;
    ScopedLocalMemory accessList;

    // A thread that impersonates someone is judged by whom it impersonates;
    // "open as self" so that the impersonated user need not be allowed to
    // open the token itself.
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_DUPLICATE | TOKEN_QUERY, TRUE, token.Receive())) {
        if (GetLastError() != ERROR_NO_TOKEN)
            return false;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, token.Receive()))
            return false;
    }

    // AccessCheck wants an impersonation token, which a primary token is not.
    if (!DuplicateToken(token.Get(), SecurityImpersonation, impersonationToken.Receive()))
        return false;

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                  0, 0, 0, administrators.Receive()))
        return false;

    descriptor.Reset(LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH));
    if (!descriptor || !InitializeSecurityDescriptor(descriptor.Get(), SECURITY_DESCRIPTOR_REVISION))
        return false;

    // The list header and one entry whose last field is where the identifier starts.
    const DWORD accessListSize = GetLengthSid(administrators.Get()) + sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) -
                                 sizeof(DWORD);
    accessList.Reset(LocalAlloc(LPTR, accessListSize));
    if (!accessList)
        return false;
    PACL acl = static_cast<PACL>(accessList.Get());
    if (!InitializeAcl(acl, accessListSize, ACL_REVISION2) ||
        !AddAccessAllowedAce(acl, ACL_REVISION2, kProbeRead | kProbeWrite, administrators.Get()) ||
        !SetSecurityDescriptorDacl(descriptor.Get(), TRUE, acl, FALSE))
        return false;
    // Only the access list decides; an owner and group make the descriptor
    // complete for systems that insist, and their absence is harmless.
    SetSecurityDescriptorGroup(descriptor.Get(), administrators.Get(), FALSE);
    SetSecurityDescriptorOwner(descriptor.Get(), administrators.Get(), FALSE);
    if (!IsValidSecurityDescriptor(descriptor.Get()))
        return false;

    GENERIC_MAPPING mapping = {kProbeRead, kProbeWrite, 0, kProbeRead | kProbeWrite};
    union {
        PRIVILEGE_SET set;
        BYTE bytes[20];
    } privileges = {};
    DWORD privilegesSize = sizeof(privileges);
    DWORD granted = 0;
    BOOL accessAllowed = FALSE;
    if (!AccessCheck(descriptor.Get(), impersonationToken.Get(), kProbeRead, &mapping, &privileges.set,
                     &privilegesSize, &granted, &accessAllowed))
        return false;
    return accessAllowed != FALSE;
}

LocalAdminFacts QueryLocalAdminFacts()
{
    LocalAdminFacts facts;
    facts.isLocalAdmin = IsLocalAdmin();
    char name[257] = {};
    DWORD size = sizeof(name);
    if (GetUserNameA(name, &size))
        facts.userName = name;
    return facts;
}

void CheckLocalAdmin(TestResult& result)
{
    GradeLocalAdmin(QueryLocalAdminFacts(), result);
}
