// Texts read from the registry and from devices, the first byte choosing the
// rule: 0 a device property, 1 a registry value, 2 the screen-saver values,
// 3 LastSuccessTime.
#include "checks/accounts/device_property_text.h"
#include "checks/local/secure_screen_saver.h"
#include "checks/local/windows_auto_update.h"
#include "platform/registry_text.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstring>
#include <ctime>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

using Text = std::optional<std::string>;

// A source that may fail, lie about the size it needs or answer with any type.
struct ScriptedProperty : DevicePropertySource {
    explicit ScriptedProperty(FuzzedDataProvider& in) : in(in), value(in.ConsumeRandomLengthString(4096)) {}
    bool Read(uint8_t* buffer, uint32_t offered, uint32_t& type, uint32_t& required, uint32_t& error) override
    {
        assert(last == 0 ? offered == 1024 : offered > last);  // the read ends
        last = offered;
        type = in.ConsumeBool() ? kPropertyTypeSz : in.ConsumeIntegralInRange(0, 7);
        error = in.ConsumeBool() ? kErrorInsufficientBuffer : in.ConsumeIntegral<uint8_t>();
        required = claimed = in.ConsumeBool() ? value.size() : in.ConsumeIntegralInRange(0, 65535);
        if (!in.ConsumeBool())
            return false;
        std::memcpy(buffer, value.data(), written = std::min<size_t>(offered, value.size()));
        return true;
    }
    FuzzedDataProvider& in;
    std::string value;
    size_t last = 0, written = 0, claimed = 0;
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int rule = size > 0 ? data[0] % 4 : 0;
    FuzzedDataProvider in(data + (size > 0), size - (size > 0));
    TestResult result;
    if (rule == 0) {
        ScriptedProperty source(in);
        std::string text = "stale";
        const bool read = ReadDevicePropertyText(source, text);
        // Up to what the last answer both wrote and claimed, and its first NUL.
        assert(read ? text == source.value.substr(0, std::min(source.written, source.claimed)).c_str() : text.empty());
    } else if (rule == 1) {
        const uint32_t type = in.ConsumeIntegralInRange(0, 7), buffer = in.ConsumeIntegral<uint8_t>();
        // The value in a block of its own size, so that a read past it is caught.
        const std::vector<uint8_t> value = in.ConsumeRemainingBytes<uint8_t>();
        const std::string text(value.begin(), std::find(value.begin(), value.end(), 0));
        uint32_t number = 0;
        std::memcpy(&number, std::string(value.begin(), value.end()).append(4, '\0').data(), 4);
        assert(RegistryDataAsNumber(value.data(), value.size()) == number);
        const bool dword = type == kRegTypeDword && value.size() == 4;
        assert(RegistryDataAsText(type, value.data(), value.size()) ==
               (type == kRegTypeSz ? Text(text) : dword ? Text(std::to_string(number)) : Text()));
        // A text that fits its buffer comes back whole and terminated; a longer one not at all.
        const bool fits = (type == kRegTypeSz || type == kRegTypeExpandSz) && buffer > 0 && text.size() <= buffer;
        assert(RegistryDataAsBoundedText(type, value.data(), value.size(), buffer) ==
               (fits ? Text(text.substr(0, buffer - 1)) : Text()));
    } else if (rule == 2) {
        SecureScreenSaverFacts facts{true, {}, {}, {}, {}};
        for (Text* value : {&facts.active, &facts.timeOutSeconds, &facts.program, &facts.isSecure}) {
            const std::string text = in.ConsumeRandomLengthString(300).c_str();
            *value = in.ConsumeBool() ? Text(text) : Text();
            const long long asAtoi = std::strtoll(text.c_str(), nullptr, 10);
            assert(LeadingInteger(text) == std::clamp<long long>(asAtoi, INT_MIN, INT_MAX));
        }
        GradeSecureScreenSaver(facts, result);
        // The name: a piece of the path without folders, cut to _MAX_FNAME.
        const std::string path = facts.program.value_or(""), name = FileNameWithoutExtension(path);
        assert(name.size() <= 255 && path.find(name) != path.npos && name.find_first_of("\\/") == name.npos);
        const std::string shown = "'" + (facts.program ? name : "<NONE>") + "',";
        assert(result.status == 'I' && result.summary.size() <= 511 && result.summary.rfind(shown, 0) == 0);
    } else {
        const int64_t now = in.ConsumeIntegralInRange<int64_t>(0, 0x7FFF35F4F06C7FFF);  // up to the year 30827
        const WindowsAutoUpdateFacts facts{static_cast<AutoUpdateSource>(in.ConsumeIntegralInRange(0, 2)),
                                           in.ConsumeBool(), in.ConsumeIntegralInRange<uint32_t>(0, 2), true,
                                           in.ConsumeRemainingBytesAsString().substr(0, 127), now};
        GradeWindowsAutoUpdate(facts, result);
        const std::string& text = *facts.lastSuccessTime;
        // A text that names a real moment gives whole days against the clock
        // (the calendar checked against timegm); any other is shown as read.
        int f[6] = {};
        const char* format = "%04d-%02d-%02d %02d:%02d:%02d";
        const bool six = std::sscanf(text.c_str(), format, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]) == 6;
        std::tm t{};
        t.tm_year = f[0] - 1900, t.tm_mon = f[1] - 1, t.tm_mday = f[2], t.tm_hour = f[3], t.tm_min = f[4], t.tm_sec = f[5];
        const int64_t applied = (timegm(&t) + 11644473600) * 10000000;
        char asRead[64], asTaken[64], summary[64];
        std::snprintf(asRead, sizeof asRead, format, f[0], f[1], f[2], f[3], f[4], f[5]);
        std::strftime(asTaken, sizeof asTaken, "%Y-%m-%d %H:%M:%S", &t);  // timegm carries overflowing fields over
        if (!six || f[0] < 1601 || std::strcmp(asRead, asTaken) != 0) {
            assert(result.summary == "Unable to parse 'LastSuccessTime'" && result.details == text);
            return 0;
        }
        const bool disabled = facts.source != AutoUpdateSource::None && (facts.noAutoUpdate || facts.auOptions == 1);
        std::snprintf(summary, sizeof summary, "%s (last applied %lld days ago)", disabled ? "Disabled" : "Enabled",
                      static_cast<long long>((now - applied) / 864000000000));
        assert(result.summary == summary && result.details.size() <= 255);
    }
    return 0;
}
