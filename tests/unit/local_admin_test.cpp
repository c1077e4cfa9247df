#include "checks/accounts/local_admin.h"

#include <gtest/gtest.h>

namespace {

const char kRightsText[] =
    "Administrative rights are required to install the software, but not required to run the software.";

} // namespace

TEST(LocalAdmin, SummaryFollowsTheTokenTestAndStatusStaysInformational)
{
    const struct {
        LocalAdminFacts facts;
        const char* summary;
    } cases[] = {
        {{true, "alice"}, "User 'alice' is local admin"},
        {{false, "bob"}, "User 'bob' is not a local admin"},
        {{false, ""}, "User '' is not a local admin"},
    };
    for (const auto& c : cases) {
        TestResult result;  // the runner's pre-set F
        GradeLocalAdmin(c.facts, result);
        EXPECT_EQ(result.status, 'I') << c.summary;
        EXPECT_EQ(result.summary, c.summary);
        EXPECT_EQ(result.details, kRightsText);
    }
}

TEST(LocalAdmin, LongUserNameIsCutToTheSummaryBuffer)
{
    TestResult result;
    GradeLocalAdmin({true, std::string(300, 'u')}, result);
    ASSERT_EQ(result.summary.size(), 255u);
    EXPECT_EQ(result.summary.substr(0, 7), "User 'u");
}
