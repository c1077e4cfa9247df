#include "checks/network/wininet_calls.h"

#include <utility>

void SetWindowsDefaultTimeouts(WinInetCalls& net, NetHandle handle)
{
    const std::pair<uint32_t, uint32_t> timeouts[] = {
        {wininet::kOptionConnectTimeout, 60000},
        {wininet::kOptionSendTimeout, 30000},
        {wininet::kOptionReceiveTimeout, 30000},
    };
    for (auto [option, milliseconds] : timeouts)
        net.InternetSetOptionA(handle, option, &milliseconds, sizeof(milliseconds));
}
