#include "checks/local/memory.h"

#include "app/text_format.h"

namespace {

// The software wants 4 GB, of which up to 32 MB may be taken by a graphics
// chip that shares system memory and so never shows as physical memory.
constexpr unsigned long kRequiredMegabytes = 4096;
constexpr unsigned long kSharedVideoMegabytes = 32;
constexpr uint32_t kPassMarkMegabytes = kRequiredMegabytes - kSharedVideoMegabytes;

} // namespace

void GradeMemory(const MemoryFacts& facts, TestResult& result)
{
    const uint32_t megabytes = static_cast<uint32_t>(facts.totalPhysicalBytes >> 20);
    result.status = megabytes >= kPassMarkMegabytes ? 'A' : 'F';
    result.summary = FormatBounded(256, "%lu M System Memory", static_cast<unsigned long>(megabytes));
    result.details = FormatBounded(256, "Requires %luM RAM, %luM allowed for shared video ram.", kRequiredMegabytes,
                                   kSharedVideoMegabytes);
}
