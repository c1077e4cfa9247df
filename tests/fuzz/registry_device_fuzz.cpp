// Texts read from the registry and from devices, the first byte choosing the
// rule: 0 a device property, 1 a registry value, 2 the screen-saver values,
// 3 LastSuccessTime.
#include "checks/accounts/device_property_text.h"
#include "checks/local/secure_screen_saver.h"
#include "checks/local/windows_auto_update.h"
#include "platform/registry_text.h"
#include "fuzz.h"

#include <climits>
#include <ctime>

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
        return in.ConsumeBool() && std::memcpy(buffer, value.data(), written = std::min<size_t>(offered, value.size()));
    }
    FuzzedDataProvider& in;
    std::string value;
    size_t last = 0, written = 0, claimed = 0;
};

FUZZ(in)
{
    const std::vector<uint8_t> first = in.ConsumeBytes<uint8_t>(1);
    TestResult result;
    if (first.empty() || first[0] % 4 == 0) {
        ScriptedProperty source(in);
        std::string text = "stale";  // read: up to what the last answer both wrote and claimed, and its first NUL
        const bool read = ReadDevicePropertyText(source, text);
        assert(text == (read ? source.value.substr(0, std::min(source.written, source.claimed)).c_str() : ""));
    } else if (first[0] % 4 == 1) {  // the value in a block of its own size, so that ASan sees a read past it
        const uint32_t type = in.ConsumeIntegralInRange(0, 7), buffer = in.ConsumeIntegral<uint8_t>();
        const std::vector<uint8_t> value = in.ConsumeRemainingBytes<uint8_t>();
        RegistryDataAsNumber(value.data(), value.size()), RegistryDataAsText(type, value.data(), value.size());
        const Text text = RegistryDataAsBoundedText(type, value.data(), value.size(), buffer);
        assert(!text || text->size() < buffer);  // with its terminator in the buffer
    } else if (first[0] % 4 == 2) {
        SecureScreenSaverFacts facts{true, {}, {}, {}, {}};
        for (Text* value : {&facts.active, &facts.timeOutSeconds, &facts.program, &facts.isSecure}) {
            const std::string text = in.ConsumeRandomLengthString(300).c_str();
            *value = in.ConsumeBool() ? Text(text) : Text();
            assert(LeadingInteger(text) == std::clamp<long long>(std::strtoll(text.c_str(), nullptr, 10), INT_MIN, INT_MAX));
        }
        GradeSecureScreenSaver(facts, result);
        // The name: a piece of the path without folders, cut to _MAX_FNAME.
        const std::string path = facts.program.value_or(""), name = FileNameWithoutExtension(path);
        assert(name.size() <= 255 && path.find(name) != path.npos && name.find_first_of("\\/") == name.npos);
        assert(result.summary.size() <= 511 && result.summary.rfind("'" + (facts.program ? name : "<NONE>") + "',", 0) == 0);
    } else {  // a text that names a real moment gives whole days against the clock (the calendar checked against timegm)
        const int64_t now = in.ConsumeIntegralInRange<int64_t>(0, 0x7FFF35F4F06C7FFF);  // up to the year 30827
        const std::string text = in.ConsumeRemainingBytesAsString().substr(0, 127);
        GradeWindowsAutoUpdate({AutoUpdateSource::None, 0, 0, true, text, now}, result);
        int f[6] = {};
        const char* format = "%04d-%02d-%02d %02d:%02d:%02d";
        const bool six = std::sscanf(text.c_str(), format, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]) == 6;
        std::tm t{};
        t.tm_year = f[0] - 1900, t.tm_mon = f[1] - 1, t.tm_mday = f[2], t.tm_hour = f[3], t.tm_min = f[4], t.tm_sec = f[5];
        const long long applied = (timegm(&t) + 11644473600) * 10000000;  // timegm carries overflowing fields over
        char asRead[64], asTaken[64], summary[64];
        std::snprintf(asRead, sizeof asRead, format, f[0], f[1], f[2], f[3], f[4], f[5]);
        std::strftime(asTaken, sizeof asTaken, "%Y-%m-%d %H:%M:%S", &t);
        const bool real = six && f[0] >= 1601 && std::strcmp(asRead, asTaken) == 0;
        std::snprintf(summary, sizeof summary, "Enabled (last applied %lld days ago)", real ? (now - applied) / 864000000000 : 0);
        assert(result.summary == (real ? summary : "Unable to parse 'LastSuccessTime'") && result.details.size() <= 255);
    }
}
