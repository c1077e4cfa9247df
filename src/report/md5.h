// MD5 as published in RFC 1321, kept in the program so that the fingerprint
// needs no crypto provider on the inspected computer.
#pragma once

#include <cstddef>
#include <cstdint>

class Md5 {
public:
    Md5() { Init(); }

    // Standard chaining words, zero count, zero buffer, zero digest.
    void Init();
    void Update(const void* data, size_t length);
    // Pads, stores the digest and clears the working state; the digest stays.
    void Final();

    // Sixteen zero bytes until Final has run.
    const uint8_t* Digest() const { return digest_; }

private:
    void Transform(const uint8_t block[64]);

    uint32_t state_[4];
    uint64_t bitCount_;
    uint8_t buffer_[64];
    uint8_t digest_[16];
};
