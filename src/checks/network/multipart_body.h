// The pieces of the upload benchmark's multipart/form-data body.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// "0000----" and the 36-character text of a new UUID: 44 characters.
std::string MultipartBoundaryFromUuid(const std::string& uuidText);

// "--B\r\nContent-Disposition: form-data; name=\"file\"; filename=\"<file>\"\r\n"
// "Content-Type: random/junk\r\nContent-Length: <size>\r\n\r\n"
std::string MakeFilePartHeader(const std::string& boundary, const char* fileName, uint32_t payloadSize);

// "\r\n--B--\r\n"
std::string MakeClosingBoundary(const std::string& boundary);

// "Content-Type: multipart/form-data; boundary=B\r\n", the request header.
std::string MakeContentTypeHeader(const std::string& boundary);

// Each byte the low 8 bits of the next value of the C library's rand, which
// keeps its own state per thread and is never seeded here.
void FillPayloadFromRand(uint8_t* payload, size_t size);
