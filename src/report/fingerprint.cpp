#include "report/fingerprint.h"

#include "app/text_format.h"

bool FeedFingerprint(const FingerprintFacts& facts, Md5& md5)
{
    md5.Init();
    if (!facts.productId)
        return false;
    md5.Update(facts.productId->data(), facts.productId->size());
    if (facts.volumeSerial) {
        const uint32_t serial = *facts.volumeSerial;
        const uint8_t bytes[4] = {static_cast<uint8_t>(serial), static_cast<uint8_t>(serial >> 8),
                                  static_cast<uint8_t>(serial >> 16), static_cast<uint8_t>(serial >> 24)};
        md5.Update(bytes, sizeof(bytes));
    }
    md5.Final();
    return true;
}

std::string FormatDigestHex(size_t bufferSize, const uint8_t* digest)
{
    std::string text;
    for (int i = 0; i < 16; ++i) {
        if (bufferSize < text.size() + 3)
            break;
        text += FormatBounded(3, "%02x", digest[i]);
    }
    return text;
}

std::string ParentDirectoryOf(const std::string& path)
{
    std::string drive;
    size_t rest = 0;
    if (path.size() >= 2 && path[1] == ':') {
        drive = path.substr(0, 2);
        rest = 2;
    }
    const size_t lastSeparator = path.find_last_of("\\/");
    std::string directory;
    if (lastSeparator != std::string::npos && lastSeparator >= rest)
        directory = path.substr(rest, lastSeparator + 1 - rest);

    std::string joined = drive + directory;
    if (!directory.empty() && directory.back() != '\\' && directory.back() != '/')
        joined += '\\';
    return joined;
}
