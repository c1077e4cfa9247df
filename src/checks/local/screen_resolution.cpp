#include "checks/local/screen_resolution.h"

#include "app/text_format.h"

void GradeScreenResolution(const ScreenResolutionFacts& facts, TestResult& result)
{
    result.summary = FormatBounded(256, "%lu x %lu, %lu bpp, %lu HZ, %lu Display(s)",
                                   static_cast<unsigned long>(facts.width), static_cast<unsigned long>(facts.height),
                                   static_cast<unsigned long>(facts.bitsPerPixel),
                                   static_cast<unsigned long>(facts.refreshHertz),
                                   static_cast<unsigned long>(facts.displays));
    // The check informs only: the software runs on smaller screens, but its
    // windows are laid out for the minimum below.
    result.status = 'I';
    result.details += FormatBounded(256, "Minimum resolution: %lu x %lu, %lu bpp.\n", 1024ul, 768ul, 15ul);
}
