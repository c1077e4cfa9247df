#include "checks/local/operating_system.h"

#include "app/text_format.h"
#include "checks/local/calendar.h"

namespace {

constexpr uint16_t kArchitectureX86 = 0;
constexpr uint16_t kArchitectureItanium = 6;
constexpr uint16_t kArchitectureX64 = 9;
constexpr uint16_t kArchitectureX86OnX64 = 10;

const char* const kRequiredLine = "Windows 7/8/10 (32-bit or 64-bit) is supported.\n";
const char* const kRequirementLine = "Windows 7/8/10 Required (32-bit or 64-bit).\n";

} // namespace

void GradeOperatingSystem(const OperatingSystemFacts& facts, TestResult& result)
{
    result.summary = facts.osName + ", " + facts.servicePackText;

    switch (facts.architecture) {
    case kArchitectureItanium:
        // Itanium is refused outright: the release is not graded and the
        // install date is of no interest.
        result.status = 'F';
        result.summary += " (Itanium 64 Bit OS)";
        result.details += "64-bit Itanium CPU not supported.\n";
        return;
    case kArchitectureX64:
    case kArchitectureX86OnX64:
        result.summary += " (64-bit)";
        break;
    case kArchitectureX86:
        result.summary += " (32-bit)";
        break;
    default:
        break;
    }

    if (facts.osCode >= 25 && facts.osCode <= 28) {
        // A program without a supported-OS list sees Windows 8.1 and 10 as 6.2.
        result.status = 'A';
        result.details = kRequiredLine;
    } else if (facts.osCode >= 16 && facts.osCode <= 18) {
        if (facts.architecture != kArchitectureX86) {
            result.summary += " (64 Bit XP)";
            result.details += "64-bit Windows XP not supported.\n";
        }
        result.details += kRequirementLine;
        result.status = 'F';
    } else if (facts.osCode >= 0 && facts.osCode <= 24) {
        result.status = 'F';
        result.details = kRequirementLine;
    } else {
        result.status = 'F';
        result.details = "Unable to determine operating system version.\n";
    }

    if (facts.installDate) {
        const CivilDate date = CivilDateFromDays(FloorDivide(*facts.installDate, kSecondsPerDay));
        result.summary += FormatBounded(64, " (%04d-%02d-%02d)", date.year, date.month, date.day);
    }
}
