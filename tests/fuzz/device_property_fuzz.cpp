// A device property read from a source that may fail, lie about the size it
// needs, or answer with any type and bytes. The read ends after a bounded
// number of offers, each larger than the last, and keeps only what was
// written and claimed. Input: a value line, then per read a byte of outcome
// and a 4-byte size claim.
#include "checks/accounts/device_property_text.h"
#include "fuzz.h"

#include <vector>

namespace {

class ScriptedProperty : public DevicePropertySource {
public:
    explicit ScriptedProperty(FuzzInput& in) : in_(in), value_(in.Line()) {}

    bool Read(uint8_t* buffer, uint32_t offered, uint32_t& type, uint32_t& requiredSize, uint32_t& error) override
    {
        FUZZ_CHECK(offers.empty() ? offered == 1024 : offered > offers.back());
        offers.push_back(offered);
        const uint8_t outcome = in_.Byte();
        type = outcome & 1 ? kPropertyTypeSz : outcome % 8;
        error = outcome & 2 ? kErrorInsufficientBuffer : outcome;
        // Claims are held to 64 KiB: bigger ones only cost memory.
        requiredSize = in_.Number() % 65536;
        if (outcome & 4)
            requiredSize = static_cast<uint32_t>(value_.size());
        claimed = requiredSize;
        if (!(outcome & 8))
            return false;
        written = std::min<size_t>(offered, value_.size());
        std::memcpy(buffer, value_.data(), written);
        return true;
    }

    FuzzInput& in_;
    std::string value_;
    std::vector<uint32_t> offers;
    size_t written = 0;
    uint32_t claimed = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    ScriptedProperty source(in);
    std::string text = "stale";
    const bool read = ReadDevicePropertyText(source, text);
    FUZZ_CHECK(read || text.empty());
    FUZZ_CHECK(source.offers.size() <= 2 + size / 5);
    if (read) {
        // Up to what the last answer both wrote and claimed, and its first NUL.
        const size_t end = std::min<size_t>(source.written, source.claimed);
        FUZZ_CHECK(text == UpToNul(source.value_.substr(0, end)));
    }
    return 0;
}
