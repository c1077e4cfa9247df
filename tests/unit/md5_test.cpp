#include "report/fingerprint.h"
#include "report/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

std::string HexOf(const std::string& input, size_t piece)
{
    Md5 md5;
    for (size_t i = 0; i < input.size(); i += piece)
        md5.Update(input.data() + i, std::min(piece, input.size() - i));
    md5.Final();
    return FormatDigestHex(33, md5.Digest());
}

} // namespace

TEST(Md5_Rfc1321, SuiteAndPaddingBoundariesInPiecesAcrossTheBlocks)
{
    const std::pair<std::string, const char*> cases[] = {
        // RFC 1321, appendix A.5.
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // 55, 56 and 64 bytes: the length fits in the last block or needs one more.
        {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
    };
    for (const auto& c : cases)
        for (size_t piece : {1000u, 1u, 3u, 63u, 64u, 65u})
            EXPECT_EQ(HexOf(c.first, piece), c.second) << '"' << c.first << "\" in pieces of " << piece;
}

TEST(Fingerprint_Input, ProductIdThenSerialLeastSignificantByteFirst)
{
    const std::pair<FingerprintFacts, const char*> cases[] = {
        // Wine's ProductId and C: serial 0x43000000: the bytes 00 00 00 43 follow the text.
        {{"12345-oem-0000001-54321", 0x43000000u}, "c770d06b0515b4d207e6b1488491d8bb"},
        {{"abc", 0x12345678u}, "a7e33be7c2164ebddcb3da6720a2d7d4"},
        {{"12345-oem-0000001-54321", std::nullopt}, "c78b9951caa6247c89e3daa020bb34a1"},
        {{std::nullopt, 0x43000000u}, "00000000000000000000000000000000"},  // nothing hashed, never finalised
    };
    for (const auto& c : cases) {
        Md5 md5;
        EXPECT_EQ(FeedFingerprint(c.first, md5), c.first.productId.has_value());
        EXPECT_EQ(FormatDigestHex(33, md5.Digest()), c.second);
    }
    EXPECT_EQ(ParentDirectoryOf("C:\\Windows"), "C:\\");
    EXPECT_EQ(ParentDirectoryOf("C:\\Programs\\Windows"), "C:\\Programs\\");
}
