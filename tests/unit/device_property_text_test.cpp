#include "checks/accounts/device_property_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Plays the Setup API for one property: a value of some type and bytes, with
// an optional script of forced failures before the real answer.
class ScriptedProperty : public DevicePropertySource {
public:
    ScriptedProperty(uint32_t type, std::string value) : type_(type), value_(std::move(value)) {}

    struct Failure {
        uint32_t error;
        uint32_t required;  // 0: the real size
    };
    std::vector<Failure> failures;
    std::vector<uint32_t> offers;

    bool Read(uint8_t* buffer, uint32_t offered, uint32_t& type, uint32_t& requiredSize, uint32_t& error) override
    {
        offers.push_back(offered);
        type = type_;
        const uint32_t size = static_cast<uint32_t>(value_.size());
        if (offers.size() <= failures.size()) {
            const Failure& f = failures[offers.size() - 1];
            error = f.error;
            requiredSize = f.required ? f.required : size;
            return false;
        }
        requiredSize = size;
        if (size > offered) {
            error = kErrorInsufficientBuffer;
            return false;
        }
        std::memcpy(buffer, value_.data(), size);
        // Leave junk behind the value so that a missing terminator shows.
        if (size < offered)
            buffer[size] = '#';
        return true;
    }

private:
    uint32_t type_;
    std::string value_;
};

} // namespace

TEST(DevicePropertyText, ShortTextInOneRead)
{
    ScriptedProperty source(kPropertyTypeSz, std::string("USB Root Hub\0", 13));
    std::string text = "stale";
    ASSERT_TRUE(ReadDevicePropertyText(source, text));
    EXPECT_EQ(text, "USB Root Hub");
    EXPECT_EQ(source.offers, std::vector<uint32_t>{1024});
}

TEST(DevicePropertyText, UnterminatedValueIsTerminatedAtItsSize)
{
    ScriptedProperty source(kPropertyTypeSz, "Hub");
    std::string text;
    ASSERT_TRUE(ReadDevicePropertyText(source, text));
    EXPECT_EQ(text, "Hub");
}

TEST(DevicePropertyText, ExactlyTheFirstOfferFits)
{
    ScriptedProperty source(kPropertyTypeSz, std::string(1024, 'a'));
    std::string text;
    ASSERT_TRUE(ReadDevicePropertyText(source, text));
    EXPECT_EQ(text.size(), 1024u);
    EXPECT_EQ(source.offers.size(), 1u);
}

TEST(DevicePropertyText, LongTextGrowsTheBufferToItsSize)
{
    const std::string value = std::string(3000, 'n') + '\0';
    ScriptedProperty source(kPropertyTypeSz, value);
    std::string text;
    ASSERT_TRUE(ReadDevicePropertyText(source, text));
    EXPECT_EQ(text, std::string(3000, 'n'));
    EXPECT_EQ(source.offers, (std::vector<uint32_t>{1024, 3001}));
}

TEST(DevicePropertyText, ValueThatKeepsGrowingIsFollowed)
{
    ScriptedProperty source(kPropertyTypeSz, std::string(5000, 'g'));
    source.failures = {{kErrorInsufficientBuffer, 2000}, {kErrorInsufficientBuffer, 4000}};
    std::string text;
    ASSERT_TRUE(ReadDevicePropertyText(source, text));
    EXPECT_EQ(text.size(), 5000u);
    EXPECT_EQ(source.offers, (std::vector<uint32_t>{1024, 2000, 4000, 5000}));
}

TEST(DevicePropertyText, RefusalsLeaveTheTextEmpty)
{
    const struct {
        const char* name;
        uint32_t type;
        std::string value;
        std::vector<ScriptedProperty::Failure> failures;
        size_t reads;
    } cases[] = {
        {"no such property", kPropertyTypeSz, "x", {{13, 0}}, 1},
        {"long list of texts", 7, std::string(2000, 'm'), {}, 1},
        {"long number", 4, std::string(2000, 'd'), {}, 1},
        {"second read fails otherwise", kPropertyTypeSz, std::string(2000, 'z'), {{122, 0}, {31, 0}}, 2},
        // A size that does not grow would have the read repeated for ever.
        {"size that never grows", kPropertyTypeSz, "x", {{122, 1500}, {122, 1500}, {122, 1500}}, 2},
        {"too small and claims to fit", kPropertyTypeSz, "x", {{122, 10}}, 1},
    };
    for (const auto& c : cases) {
        ScriptedProperty source(c.type, c.value);
        source.failures = c.failures;
        std::string text = "stale";
        EXPECT_FALSE(ReadDevicePropertyText(source, text)) << c.name;
        EXPECT_EQ(text, "") << c.name;
        EXPECT_EQ(source.offers.size(), c.reads) << c.name;
    }
}
