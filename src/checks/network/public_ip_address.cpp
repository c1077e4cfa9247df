#include "checks/network/public_ip_address.h"

void GradePublicIpAddress(const std::string& publicAddress, TestResult& result)
{
    // Informational whatever it finds: the row never changes the verdict.
    result.status = 'I';
    result.summary = publicAddress.empty() ? std::string("Unable to determine") : publicAddress;
    result.details = "Informational only.";
}
