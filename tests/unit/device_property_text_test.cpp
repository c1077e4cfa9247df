#include "checks/accounts/device_property_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Plays the Setup API for one property: the scripted failures (error, size
// needed) first, then the value, with junk behind it in place of a terminator.
struct ScriptedProperty : DevicePropertySource {
    uint32_t type;
    std::string value;
    std::vector<std::pair<uint32_t, uint32_t>> failures;
    std::vector<uint32_t> offers;

    bool Read(uint8_t* buffer, uint32_t offered, uint32_t& t, uint32_t& required, uint32_t& error) override
    {
        offers.push_back(offered);
        t = type;
        required = static_cast<uint32_t>(value.size());
        if (offers.size() <= failures.size()) {
            std::tie(error, required) = failures[offers.size() - 1];
            return false;
        }
        error = kErrorInsufficientBuffer;
        if (required > offered)
            return false;
        std::memcpy(buffer, value.data(), required);
        std::memset(buffer + required, '#', offered - required);
        return true;
    }
};

} // namespace

TEST(DevicePropertyText, BufferGrowsToWhatTheTextNeeds)
{
    const std::string text3000(3000, 'n'), text5000(5000, 'g');
    const struct {
        uint32_t type;
        std::string value;
        std::vector<std::pair<uint32_t, uint32_t>> failures;
        std::string text;  // "stale" when the read is refused
        std::vector<uint32_t> offers;
    } cases[] = {
        {1, std::string("Hub\0", 4), {}, "Hub", {1024}},
        {1, std::string(1024, 'a'), {}, std::string(1024, 'a'), {1024}},
        {1, text3000 + '\0', {}, text3000, {1024, 3001}},
        {1, text5000, {{122, 2000}, {122, 4000}}, text5000, {1024, 2000, 4000, 5000}},
        {1, "x", {{13, 0}}, "", {1024}},
        {7, text3000, {}, "", {1024}},  // a list of texts
        {1, text3000, {{122, 2000}, {31, 0}}, "", {1024, 2000}},
        {1, "x", {{122, 1500}, {122, 1500}, {122, 1500}}, "", {1024, 1500}},  // a size that never grows
    };
    for (const auto& c : cases) {
        ScriptedProperty source;
        source.type = c.type;
        source.value = c.value;
        source.failures = c.failures;
        std::string text = "stale";
        EXPECT_EQ(ReadDevicePropertyText(source, text), !c.text.empty()) << c.value.substr(0, 10);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(source.offers, c.offers);
    }
}
