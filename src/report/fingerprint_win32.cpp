#include "report/fingerprint.h"

#include "platform/registry_win32.h"

#include <windows.h>

bool ComputeSystemFingerprint(Md5& md5)
{
    md5.Init();
    FingerprintFacts facts;
    facts.productId =
        ReadRegKeyValueText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductId");
    if (!facts.productId)
        return false;

    // The serial of the volume that holds Windows: the Windows directory's
    // parent, which is the drive's root in the usual layout. Any other parent
    // is not a volume root, the query fails, and only the identifier counts.
    char windowsDirectory[MAX_PATH + 1] = {};
    const UINT length = GetSystemWindowsDirectoryA(windowsDirectory, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) {
        const std::string root = ParentDirectoryOf(windowsDirectory);
        DWORD serial = 0;
        if (GetVolumeInformationA(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
            facts.volumeSerial = serial;
    }
    return FeedFingerprint(facts, md5);
}

std::string SystemFingerprintText(size_t bufferSize)
{
    Md5 md5;
    md5.Init();
    ComputeSystemFingerprint(md5);
    return FormatDigestHex(bufferSize, md5.Digest());
}
