// The four screen-saver values as any texts, each present or missing.
// Input: a byte saying which are present, then one line per value.
#include "checks/local/secure_screen_saver.h"
#include "fuzz.h"

#include <climits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const uint8_t present = in.Byte();
    SecureScreenSaverFacts facts;
    facts.keyOpened = true;
    std::optional<std::string>* values[] = {&facts.active, &facts.timeOutSeconds, &facts.program, &facts.isSecure};
    for (int i = 0; i < 4; ++i) {
        // Texts are read up to their first NUL.
        const std::string line = UpToNul(in.Line());
        if (present & (1 << i))
            *values[i] = line;
    }

    for (std::optional<std::string>* value : values) {
        const std::string text = value->value_or("");
        const long long expected = std::strtoll(text.c_str(), nullptr, 10);
        FUZZ_CHECK(LeadingInteger(text) == std::clamp<long long>(expected, INT_MIN, INT_MAX));
    }

    // The last part of the path without drive or folders is the name, cut to
    // _MAX_FNAME, and then at most one extension.
    const std::string path = facts.program.value_or("");
    const std::string name = FileNameWithoutExtension(path);
    const std::string rest = path.size() >= 2 && path[1] == ':' ? path.substr(2) : path;
    const std::string last = rest.substr(rest.find_last_of("\\/") + 1);
    FUZZ_CHECK(name.size() <= 255 && last.compare(0, name.size(), name) == 0);
    const std::string extension = last.substr(std::min(last.size(), last.rfind('.')));
    FUZZ_CHECK(name.size() == 255 || name.size() + extension.size() == last.size());

    TestResult result;
    GradeSecureScreenSaver(facts, result);
    FUZZ_CHECK(result.status == 'I');
    FUZZ_CHECK(result.summary.size() <= 511);
    const std::string shownName = facts.program ? name : "<NONE>";
    FUZZ_CHECK(result.summary.compare(0, shownName.size() + 3, "'" + shownName + "',") == 0);
    const int minutes = facts.timeOutSeconds ? LeadingInteger(*facts.timeOutSeconds) / 60 : 0;
    const bool overLimit = static_cast<uint32_t>(minutes) > 15;
    FUZZ_CHECK((result.details.find("** Time limit, ") != std::string::npos) == overLimit);
    return 0;
}
