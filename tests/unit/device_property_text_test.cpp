#include "checks/accounts/device_property_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Failures = std::vector<std::pair<uint32_t, uint32_t>>;  // error, size claimed

// Plays the Setup API for one property: the scripted failures first, then
// the value, with junk behind it in place of a terminator.
struct ScriptedProperty : DevicePropertySource {
    uint32_t type;
    std::string value;
    Failures failures;
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
    // type, value, failures, text read ("" when refused), the sizes offered
    const std::tuple<uint32_t, std::string, Failures, std::string, std::vector<uint32_t>> cases[] = {
        {1, std::string(1024, 'a'), {}, std::string(1024, 'a'), {1024}},
        {1, text3000 + '\0', {}, text3000, {1024, 3001}},
        {1, text5000, {{122, 2000}, {122, 4000}}, text5000, {1024, 2000, 4000, 5000}},
        {1, "x", {{13, 0}}, "", {1024}},
        {7, text3000, {}, "", {1024}},  // a list of texts
        {1, text3000, {{122, 2000}, {31, 0}}, "", {1024, 2000}},
        {1, "x", {{122, 1500}, {122, 1500}, {122, 1500}}, "", {1024, 1500}},  // a size that never grows
    };
    for (const auto& [type, value, failures, text, offers] : cases) {
        ScriptedProperty source;
        std::tie(source.type, source.value, source.failures) = std::tie(type, value, failures);
        std::string read = "stale";
        EXPECT_EQ(ReadDevicePropertyText(source, read), !text.empty()) << value.substr(0, 10);
        EXPECT_EQ(read, text);
        EXPECT_EQ(source.offers, offers);
    }
}
