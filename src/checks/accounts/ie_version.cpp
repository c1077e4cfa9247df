#include "checks/accounts/ie_version.h"

#include "app/text_format.h"

namespace {

constexpr uint32_t kMinimumIeVersion = 11;

bool IsScanfSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::optional<uint32_t> ReadLeadingVersionNumber(const std::string& text)
{
    size_t at = 0;
    while (at < text.size() && IsScanfSpace(text[at]))
        ++at;
    // "%lu" would take "-1" as the largest number there is, and so pass a
    // corrupt value as the newest version; a minus sign makes it no number.
    if (at < text.size() && text[at] == '+')
        ++at;
    if (at >= text.size() || text[at] < '0' || text[at] > '9')
        return std::nullopt;
    uint64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + static_cast<uint64_t>(text[at] - '0');
        if (value > UINT32_MAX)
            value = UINT32_MAX + uint64_t{1};  // stays above the limit however many digits follow
    }
    if (value > UINT32_MAX)
        return UINT32_MAX;
    return static_cast<uint32_t>(value);
}

void GradeIeVersion(const IeVersionFacts& facts, TestResult& result)
{
    if (!facts.svcVersion) {
        result.status = 'F';
        result.summary = "Unable to determine";
        result.details = "Internet Explorer Registry value is missing.";
        return;
    }
    const std::optional<uint32_t> major = ReadLeadingVersionNumber(*facts.svcVersion);
    if (!major) {
        result.status = 'F';
        result.summary = "Unable to determine";
        result.details = FormatBounded(256, "Internet Explorer Registry value is corrupt: %s", facts.svcVersion->c_str());
        return;
    }
    result.status = *major < kMinimumIeVersion ? 'F' : 'A';
    result.summary = *facts.svcVersion;
    result.details =
        "Minimum Internet Explorer version is 11.0. Internet Explorer version 9.0 & 10.0 will work but is no longer "
        "supported by Microsoft. Internet Explorer components are used to communicate with our servers, independant "
        "of your default browser.";
}
