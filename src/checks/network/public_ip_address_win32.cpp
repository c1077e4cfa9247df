#include "checks/network/public_ip_address.h"

#include "checks/network/network_speed.h"

void CheckPublicIpAddress(TestResult& result)
{
    GradePublicIpAddress(g_publicAddress, result);
}
