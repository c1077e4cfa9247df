#include "report/fingerprint.h"
#include "report/md5.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(Md5_Rfc1321, SuiteAndPaddingBoundariesInPiecesAcrossTheBlocks)
{
    const std::pair<std::string, const char*> cases[] = {
        // RFC 1321, appendix A.5.
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // 55, 56 and 64 bytes: the length fits in the last block or needs one more.
        {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
    };
    for (const auto& [input, hex] : cases)
        for (size_t piece : {1000u, 1u, 3u, 63u, 64u, 65u}) {
            Md5 md5;
            for (size_t i = 0; i < input.size(); i += piece)
                md5.Update(input.data() + i, std::min(piece, input.size() - i));
            md5.Final();
            EXPECT_EQ(FormatDigestHex(33, md5.Digest()), hex) << input.size() << " bytes in pieces of " << piece;
        }
}

TEST(Fingerprint_Input, ProductIdThenSerialLeastSignificantByteFirst)
{
    const std::pair<FingerprintFacts, const char*> cases[] = {
        // Wine's ProductId and C: serial 0x43000000: the bytes 00 00 00 43 follow the text.
        {{"12345-oem-0000001-54321", 0x43000000u}, "c770d06b0515b4d207e6b1488491d8bb"},
        {{"12345-oem-0000001-54321", std::nullopt}, "c78b9951caa6247c89e3daa020bb34a1"},
        {{std::nullopt, 0x43000000u}, "00000000000000000000000000000000"},  // nothing hashed, never finalised
    };
    for (const auto& [facts, hex] : cases) {
        Md5 md5;
        EXPECT_EQ(FeedFingerprint(facts, md5), facts.productId.has_value());
        EXPECT_EQ(FormatDigestHex(33, md5.Digest()), hex);
    }
    EXPECT_EQ(ParentDirectoryOf("C:\\Windows"), "C:\\");
    EXPECT_EQ(ParentDirectoryOf("C:\\Programs\\Windows"), "C:\\Programs\\");
}
