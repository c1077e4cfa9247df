#include "app/error_text_win32.h"
#include "platform/registry_win32.h"
#include "platform/wow64_win32.h"
#include "registry_scratch.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

// The box that the upload shows for a failed step: the system's text as it
// stands, "%1" included, and a box of its own for a number without text.
TEST(ErrorBox, TextWithInsertsAndNumberWithoutText)
{
    const std::string system = SystemMessage(ERROR_BAD_EXE_FORMAT);
    ASSERT_NE(system.find("%1"), std::string::npos) << system;
    const std::pair<DWORD, std::string> cases[] = {
        {ERROR_BAD_EXE_FORMAT, "Error Message|" + system},
        {0x3FFFFFFF, "Error|Unable to format message"},
    };
    for (const auto& [code, expected] : cases) {
        std::string shown;
        const auto answer = [&shown](HWND box) { shown = TextOf(box) + "|" + MessageOf(box), Press(box, IDOK); };
        DialogWatcher withText("Error Message", answer), withoutText("Error", answer);
        SetLastError(code);
        ShowLastErrorBox("HttpSendRequestEx()");
        EXPECT_EQ(withText.Finish() + withoutText.Finish(), 1) << code;
        EXPECT_EQ(shown, expected) << code;
    }
}
