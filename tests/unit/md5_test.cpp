#include "report/fingerprint.h"
#include "report/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string HexOf(const std::string& input, size_t chunk)
{
    Md5 md5;
    md5.Init();
    for (size_t i = 0; i < input.size(); i += chunk)
        md5.Update(input.data() + i, std::min(chunk, input.size() - i));
    md5.Final();
    return FormatDigestHex(33, md5.Digest());
}

struct Md5Case {
    const char* input;
    const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
const Md5Case kRfc1321Suite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

} // namespace

TEST(Md5_Rfc1321, SuiteInOneUpdateAndInPieces)
{
    for (const Md5Case& c : kRfc1321Suite) {
        EXPECT_EQ(HexOf(c.input, 1000), c.digest) << '"' << c.input << '"';
        // Pieces that straddle the 64-byte blocks in every way.
        for (size_t chunk : {1u, 3u, 63u, 64u, 65u})
            EXPECT_EQ(HexOf(c.input, chunk), c.digest) << '"' << c.input << "\" in pieces of " << chunk;
    }
}

TEST(Md5_Rfc1321, PaddingBoundaries)
{
    // 55, 56 and 64 bytes: the length fits in the last block or needs a new one.
    EXPECT_EQ(HexOf(std::string(55, 'a'), 100), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(HexOf(std::string(56, 'a'), 100), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(HexOf(std::string(64, 'a'), 100), "014842d480b571495a4a0363793f7367");
    EXPECT_EQ(HexOf(std::string(1000000, 'a'), 4096), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5_State, DigestIsZeroUntilFinalAndStaysAfterIt)
{
    Md5 md5;
    md5.Init();
    md5.Update("abc", 3);
    EXPECT_EQ(FormatDigestHex(33, md5.Digest()), std::string(32, '0'));
    md5.Final();
    EXPECT_EQ(FormatDigestHex(33, md5.Digest()), "900150983cd24fb0d6963f7d28e17f72");
    // Init starts over and clears the digest again.
    md5.Init();
    EXPECT_EQ(FormatDigestHex(33, md5.Digest()), std::string(32, '0'));
}

TEST(FormatDigestHex_Buffer, WholePairsOnly)
{
    const uint8_t digest[16] = {0x00, 0x01, 0x0a, 0xff, 0x10, 0x20, 0x30, 0x40,
                                0x50, 0x60, 0x70, 0x80, 0x90, 0xa0, 0xb0, 0xc0};
    EXPECT_EQ(FormatDigestHex(33, digest), "00010aff102030405060708090a0b0c0");
    EXPECT_EQ(FormatDigestHex(64, digest), "00010aff102030405060708090a0b0c0");
    EXPECT_EQ(FormatDigestHex(7, digest), "00010a");
    EXPECT_EQ(FormatDigestHex(6, digest), "0001");
    EXPECT_EQ(FormatDigestHex(2, digest), "");
    EXPECT_EQ(FormatDigestHex(0, digest), "");
}

TEST(Fingerprint_Input, ProductIdThenSerialLeastSignificantByteFirst)
{
    struct Case {
        FingerprintFacts facts;
        bool read;
        const char* hex;
    };
    const Case cases[] = {
        // Wine's ProductId and C: serial 0x43000000: the bytes 00 00 00 43 follow the text.
        {{"12345-oem-0000001-54321", 0x43000000u}, true, "c770d06b0515b4d207e6b1488491d8bb"},
        {{"abc", 0x12345678u}, true, "a7e33be7c2164ebddcb3da6720a2d7d4"},
        // No serial: the identifier alone.
        {{"12345-oem-0000001-54321", std::nullopt}, true, "c78b9951caa6247c89e3daa020bb34a1"},
        // No identifier: nothing hashed, not finalised, 32 zeros.
        {{std::nullopt, 0x43000000u}, false, "00000000000000000000000000000000"},
    };
    for (const Case& c : cases) {
        Md5 md5;
        md5.Init();
        EXPECT_EQ(FeedFingerprint(c.facts, md5), c.read);
        EXPECT_EQ(FormatDigestHex(33, md5.Digest()), c.hex);
    }
}

TEST(Fingerprint_VolumeRoot, DriveAndDirectoryOfTheWindowsDirectory)
{
    EXPECT_EQ(ParentDirectoryOf("C:\\Windows"), "C:\\");
    EXPECT_EQ(ParentDirectoryOf("D:\\WINNT"), "D:\\");
    EXPECT_EQ(ParentDirectoryOf("C:\\Programs\\Windows"), "C:\\Programs\\");
    EXPECT_EQ(ParentDirectoryOf("C:\\Windows\\"), "C:\\Windows\\");
    EXPECT_EQ(ParentDirectoryOf("C:/Windows"), "C:/");
    EXPECT_EQ(ParentDirectoryOf("\\\\server\\share\\Windows"), "\\\\server\\share\\");
    EXPECT_EQ(ParentDirectoryOf("C:Windows"), "C:");
    EXPECT_EQ(ParentDirectoryOf("Windows"), "");
}
