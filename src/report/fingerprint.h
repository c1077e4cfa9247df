// The system fingerprint: MD5 of the Windows product identifier and the
// system volume's serial number, identifying one installation across reports.
#pragma once

#include "report/md5.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct FingerprintFacts {
    std::optional<std::string> productId;    // none when it could not be read
    std::optional<uint32_t> volumeSerial;    // none when the query failed
};

// Feeds the facts into `md5` and finalises it. Without a product identifier
// nothing is hashed and the digest stays sixteen zero bytes; returns whether
// the product identifier was there.
bool FeedFingerprint(const FingerprintFacts& facts, Md5& md5);

// The digest as "%02x" pairs, as many whole pairs as a buffer of
// `bufferSize` bytes holds with its terminator.
std::string FormatDigestHex(size_t bufferSize, const uint8_t* digest);

// The drive and directory parts of `path` joined again, as the runtime's
// _splitpath and _makepath do: "C:\Windows" gives "C:\".
std::string ParentDirectoryOf(const std::string& path);

// Reads the facts of this computer and feeds them into `md5` (win32 build).
bool ComputeSystemFingerprint(Md5& md5);

// Init, ComputeSystemFingerprint and FormatDigestHex in one (win32 build).
std::string SystemFingerprintText(size_t bufferSize);
