#include "checks/local/secure_screen_saver.h"

#include "app/text_format.h"

#include <climits>
#include <cstdint>

namespace {

constexpr unsigned long kRecommendedMinutes = 15;
constexpr size_t kLineBufferSize = 512;
constexpr size_t kFileNameBufferSize = 256;  // _MAX_FNAME

bool IsSet(const std::optional<std::string>& value)
{
    return value && LeadingInteger(*value) != 0;
}

} // namespace

int LeadingInteger(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<int64_t>(INT_MAX) + 1)
            magnitude = static_cast<int64_t>(INT_MAX) + 1;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

std::string FileNameWithoutExtension(const std::string& path)
{
    std::string rest = path.size() >= 2 && path[1] == ':' ? path.substr(2) : path;
    const size_t separator = rest.find_last_of("\\/");
    if (separator != std::string::npos)
        rest.erase(0, separator + 1);
    const size_t dot = rest.rfind('.');
    if (dot != std::string::npos)
        rest.erase(dot);
    return CutToBuffer(rest, kFileNameBufferSize);
}

void GradeSecureScreenSaver(const SecureScreenSaverFacts& facts, TestResult& result)
{
    result.status = 'I';
    if (!facts.keyOpened) {
        result.summary = "Unable to determine";
        return;
    }

    const bool active = IsSet(facts.active);
    const bool secure = IsSet(facts.isSecure);
    // Seconds to whole minutes, truncated; a negative time stays negative
    // and then compares as a huge unsigned number, far above the limit.
    const int minutes = facts.timeOutSeconds ? LeadingInteger(*facts.timeOutSeconds) / 60 : 0;
    const unsigned long shownMinutes = static_cast<uint32_t>(minutes);
    const std::string name = facts.program ? FileNameWithoutExtension(*facts.program) : "<NONE>";

    result.details = FormatBounded(kLineBufferSize,
                                   "We HIGHLY SUGGEST that your computer to be configured with a 'secure' screen "
                                   "saver that requires a password to unlock and automatically locks the screen "
                                   "after %lu minutes (or less) of inactivity.\n",
                                   kRecommendedMinutes);
    if (!active)
        result.details += " ** Your screen saver is not configured. **\n";
    if (active && !secure)
        result.details += " ** Your screen saver is not 'secure' (does not require password to restore screen). **\n";
    if (shownMinutes > kRecommendedMinutes)
        result.details += FormatBounded(kLineBufferSize, " ** Time limit, %lu, exceeds %lu minutes. **\n",
                                        shownMinutes, kRecommendedMinutes);

    result.summary = FormatBounded(kLineBufferSize, "'%s', %lu minutes, active:%c, secure:%c", name.c_str(),
                                   shownMinutes, active ? 'Y' : 'N', active && secure ? 'Y' : 'N');
}
