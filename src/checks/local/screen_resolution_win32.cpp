#include "checks/local/screen_resolution.h"

#include "platform/scoped_win32.h"

ScreenResolutionFacts QueryScreenResolutionFacts()
{
    ScreenResolutionFacts facts;
    facts.displays = static_cast<uint32_t>(GetSystemMetrics(SM_CMONITORS));
    // The desktop's DC describes the primary display; it is given back as
    // soon as the four values are read.
    const ScopedWindowDc desktop(GetDesktopWindow());
    facts.width = static_cast<uint32_t>(GetDeviceCaps(desktop.Get(), HORZRES));
    facts.height = static_cast<uint32_t>(GetDeviceCaps(desktop.Get(), VERTRES));
    facts.bitsPerPixel = static_cast<uint32_t>(GetDeviceCaps(desktop.Get(), BITSPIXEL));
    facts.refreshHertz = static_cast<uint32_t>(GetDeviceCaps(desktop.Get(), VREFRESH));
    return facts;
}

void CheckScreenResolution(TestResult& result)
{
    GradeScreenResolution(QueryScreenResolutionFacts(), result);
}
