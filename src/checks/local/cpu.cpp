#include "checks/local/cpu.h"

#include "app/text_format.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int64_t kMinimumClockHertz = 1000000000;
constexpr int64_t kRecommendedClockHertz = 2000000000;
constexpr size_t kLineBufferSize = 256;
constexpr size_t kNameBufferSize = 256;
constexpr size_t kFigureBufferSize = 64;
const char* const kProcessorKeyPath = "Hardware\\Description\\System\\CentralProcessor\\0";

std::string ClockText(uint32_t megahertz)
{
    return FormatScaledNumber(static_cast<int64_t>(megahertz) * 1000000, kFigureBufferSize);
}

std::string TidyName(const std::string& stored)
{
    std::vector<char> buffer(kNameBufferSize, '\0');
    std::memcpy(buffer.data(), stored.data(), std::min(stored.size(), kNameBufferSize - 1));
    CollapseSpaces(TrimLeadingSpaces(buffer.data()));
    return buffer.data();
}

} // namespace

char* TrimLeadingSpaces(char* text)
{
    size_t blanks = 0;
    while (text[blanks] == ' ')
        ++blanks;
    if (blanks > 0)
        std::memmove(text, text + blanks, std::strlen(text + blanks) + 1);
    return text;
}

char* CollapseSpaces(char* text)
{
    char* to = text;
    for (const char* from = text; *from != '\0'; ++from) {
        while (from[0] == ' ' && from[1] == ' ')
            ++from;
        *to++ = *from;
    }
    *to = '\0';
    return text;
}

void GradeCpu(const CpuFacts& facts, TestResult& result)
{
    result.details += FormatBounded(kLineBufferSize, "Minimum CPU speed is %sHz.  Recommended CPU speed is %sHz.",
                                    FormatScaledNumber(kMinimumClockHertz, kFigureBufferSize).c_str(),
                                    FormatScaledNumber(kRecommendedClockHertz, kFigureBufferSize).c_str());
    result.status = 'I';
    if (!facts.keyOpened) {
        result.summary = "Unable to determine";
        result.details += "\nUnable to read registry key: HKLM";
        result.details += kProcessorKeyPath;
        result.details += "\n";
        return;
    }

    const std::string name = TidyName(facts.name);
    if (name.empty()) {
        result.summary = facts.megahertz != 0
                             ? FormatBounded(kLineBufferSize, "Unknown Vendor, %sHz", ClockText(facts.megahertz).c_str())
                             : "Unknown Vendor, Unknown Speed";
    } else {
        result.summary = name;
        // The speed follows the recommendation directly: the details pane
        // shows them as one paragraph.
        result.details += FormatBounded(kLineBufferSize, "Actual Speed: %sHz.", ClockText(facts.megahertz).c_str());
    }
    if (facts.processorCount > 1)
        result.summary += FormatBounded(kLineBufferSize, "(x%d)", static_cast<int>(facts.processorCount));
}
