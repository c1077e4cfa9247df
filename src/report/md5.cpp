#include "report/md5.h"

#include <cstring>

namespace {

inline uint32_t RotateLeft(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return (x & y) | (~x & z); }
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) { return (x & z) | (y & ~z); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; }
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }

// Per-step shift amounts and the sine-derived constants T[1..64] of RFC 1321.
const int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                        5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                        4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                        6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

const uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

void StoreLittleEndian(uint32_t value, uint8_t* out)
{
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    out[2] = static_cast<uint8_t>(value >> 16);
    out[3] = static_cast<uint8_t>(value >> 24);
}

} // namespace

void Md5::Init()
{
    state_[0] = 0x67452301;
    state_[1] = 0xefcdab89;
    state_[2] = 0x98badcfe;
    state_[3] = 0x10325476;
    bitCount_ = 0;
    std::memset(buffer_, 0, sizeof(buffer_));
    std::memset(digest_, 0, sizeof(digest_));
}

void Md5::Transform(const uint8_t block[64])
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = static_cast<uint32_t>(block[4 * i]) | static_cast<uint32_t>(block[4 * i + 1]) << 8 |
               static_cast<uint32_t>(block[4 * i + 2]) << 16 | static_cast<uint32_t>(block[4 * i + 3]) << 24;

    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int step = 0; step < 64; ++step) {
        uint32_t f;
        int word;
        switch (step / 16) {
        case 0: f = F(b, c, d); word = step; break;
        case 1: f = G(b, c, d); word = (5 * step + 1) % 16; break;
        case 2: f = H(b, c, d); word = (3 * step + 5) % 16; break;
        default: f = I(b, c, d); word = (7 * step) % 16; break;
        }
        const uint32_t rotated = b + RotateLeft(a + f + x[word] + kSine[step], kShift[step]);
        a = d;
        d = c;
        c = b;
        b = rotated;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void Md5::Update(const void* data, size_t length)
{
    const uint8_t* input = static_cast<const uint8_t*>(data);
    size_t used = static_cast<size_t>((bitCount_ >> 3) & 63);
    bitCount_ += static_cast<uint64_t>(length) << 3;

    size_t offset = 0;
    if (used > 0) {
        const size_t room = 64 - used;
        if (length < room) {
            std::memcpy(buffer_ + used, input, length);
            return;
        }
        std::memcpy(buffer_ + used, input, room);
        Transform(buffer_);
        offset = room;
    }
    for (; offset + 64 <= length; offset += 64)
        Transform(input + offset);
    if (offset < length)
        std::memcpy(buffer_, input + offset, length - offset);
}

void Md5::Final()
{
    uint8_t lengthBytes[8];
    StoreLittleEndian(static_cast<uint32_t>(bitCount_), lengthBytes);
    StoreLittleEndian(static_cast<uint32_t>(bitCount_ >> 32), lengthBytes + 4);

    // One 0x80 byte, zeros up to 56 mod 64, then the bit count.
    static const uint8_t kPadding[64] = {0x80};
    const size_t used = static_cast<size_t>((bitCount_ >> 3) & 63);
    const size_t padLength = used < 56 ? 56 - used : 120 - used;
    Update(kPadding, padLength);
    Update(lengthBytes, 8);

    for (int i = 0; i < 4; ++i)
        StoreLittleEndian(state_[i], digest_ + 4 * i);

    // The working state may hold traces of the input; only the digest stays.
    std::memset(state_, 0, sizeof(state_));
    bitCount_ = 0;
    std::memset(buffer_, 0, sizeof(buffer_));
}
