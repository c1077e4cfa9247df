#include "checks/network/multipart_body.h"

#include "app/text_format.h"

#include <cstdlib>

std::string MultipartBoundaryFromUuid(const std::string& uuidText)
{
    return "0000----" + uuidText;
}

std::string MakeFilePartHeader(const std::string& boundary, const char* fileName, uint32_t payloadSize)
{
    const std::string size = FormatBounded(64, "%lu", static_cast<unsigned long>(payloadSize));
    return "--" + boundary + "\r\n" + "Content-Disposition: form-data; name=\"file\"; filename=\"" + fileName +
           "\"\r\n" + "Content-Type: random/junk\r\n" + "Content-Length: " + size + "\r\n\r\n";
}

std::string MakeClosingBoundary(const std::string& boundary)
{
    return "\r\n--" + boundary + "--\r\n";
}

std::string MakeContentTypeHeader(const std::string& boundary)
{
    return "Content-Type: multipart/form-data; boundary=" + boundary + "\r\n";
}

void FillPayloadFromRand(uint8_t* payload, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        payload[i] = static_cast<uint8_t>(std::rand() & 0xFF);
}
