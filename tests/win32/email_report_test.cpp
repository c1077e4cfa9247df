#include "report_test_support.h"

#include "app/results.h"
#include "app/settings.h"
#include "platform/registry_win32.h"
#include "report/fingerprint.h"
#include "report/md5.h"
#include "report/report_commands_win32.h"
#include "report/report_timestamp.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

namespace {

// The stand-in mail client registered as the default one for the test's
// duration, with its output in a fresh folder.
class EmailReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("KAVLO_EXPECT_NO_MAPI"))
            GTEST_SKIP() << "this run has Simple MAPI disabled";
        dll_ = FolderOfThisProgram() + "mail_stand_in.dll";
        HMODULE standIn = LoadLibraryA(dll_.c_str());
        ASSERT_NE(standIn, nullptr) << dll_;
        auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(standIn, "DllRegisterServer")));
        ASSERT_NE(registerServer, nullptr);
        ASSERT_EQ(registerServer(), S_OK);
        FreeLibrary(standIn);

        out_ = FreshTempFolder("kavlo-mail-test");
        SetEnvironmentVariableA("KAVLO_MAIL_OUT", out_.c_str());
        SetEnvironmentVariableA("KAVLO_MAIL_RESULT", nullptr);
        DeleteFileA(ReportPath().c_str());
        saved_ = g_results;
        g_results = SampleResults();
    }

    void TearDown() override
    {
        if (dll_.empty())
            return;
        g_results = saved_;
        if (HMODULE standIn = LoadLibraryA(dll_.c_str())) {
            if (auto unregister = reinterpret_cast<HRESULT(WINAPI*)()>(
                    reinterpret_cast<void*>(GetProcAddress(standIn, "DllUnregisterServer"))))
                unregister();
            FreeLibrary(standIn);
        }
    }

    static std::string ReportPath() { return TempFolder() + "KavloReport.html"; }

    std::map<std::string, std::string> Message() const
    {
        std::map<std::string, std::string> fields;
        std::istringstream lines(ReadWholeFile(out_ + "\\message.txt"));
        std::string line;
        while (std::getline(lines, line)) {
            const size_t equals = line.find('=');
            if (equals != std::string::npos)
                fields[line.substr(0, equals)] = line.substr(equals + 1);
        }
        return fields;
    }

    std::string Attachment() const { return ReadWholeFile(out_ + "\\attachment-0"); }

    void ChooseResult(const char* code) { SetEnvironmentVariableA("KAVLO_MAIL_RESULT", code); }

    std::string dll_;
    std::string out_;
    std::vector<TestResult> saved_;
};

// The fingerprint computed here from the same two facts, independently.
std::string ExpectedFingerprint()
{
    const auto productId =
        ReadRegKeyValueText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductId");
    Md5 md5;
    md5.Init();
    if (!productId)
        return std::string(32, '0');
    md5.Update(productId->data(), productId->size());
    char windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    const std::string root = std::string(windows, 3);  // "C:\"
    DWORD serial = 0;
    if (GetVolumeInformationA(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
        const unsigned char bytes[4] = {static_cast<unsigned char>(serial), static_cast<unsigned char>(serial >> 8),
                                        static_cast<unsigned char>(serial >> 16),
                                        static_cast<unsigned char>(serial >> 24)};
        md5.Update(bytes, 4);
    }
    md5.Final();
    return FormatDigestHex(33, md5.Digest());
}

std::string Between(const std::string& text, const std::string& before, const std::string& after)
{
    const size_t start = text.find(before);
    if (start == std::string::npos)
        return "(missing " + before + ")";
    const size_t end = text.find(after, start + before.size());
    return text.substr(start + before.size(), end - start - before.size());
}

} // namespace

TEST_F(EmailReportTest, MessageFieldsAsTheMailClientReceivesThem)
{
    OwnerWindow owner;
    BoxAnswerer answerer("Email Error");
    EmailReport(owner.Get());
    EXPECT_FALSE(answerer.Finish()) << answerer.text;

    auto m = Message();
    EXPECT_EQ(m["session"], "0");
    EXPECT_EQ(m["uiParam"], std::to_string(reinterpret_cast<ULONG_PTR>(owner.Get())));
    EXPECT_EQ(m["flags"], "9");
    EXPECT_EQ(m["reserved"], "0");
    EXPECT_EQ(m["message.reserved"], "0");
    EXPECT_EQ(m["message.subject"], "Kavlo Report");
    EXPECT_EQ(m["message.noteText"], "(null)");
    EXPECT_EQ(m["message.messageType"], "(null)");
    EXPECT_EQ(m["message.dateReceived"], "(null)");
    EXPECT_EQ(m["message.conversationID"], "(null)");
    EXPECT_EQ(m["message.flags"], "0");
    EXPECT_EQ(m["originator"], "(null)");
    EXPECT_EQ(m["message.recipCount"], "1");
    EXPECT_EQ(m["recip0.reserved"], "0");
    EXPECT_EQ(m["recip0.recipClass"], "1");
    EXPECT_EQ(m["recip0.name"], "Dunbrook Customer Service");
    EXPECT_EQ(m["recip0.address"], std::string("SMTP:") + g_customerServiceAddress);
    EXPECT_EQ(m["recip0.eidSize"], "0");
    EXPECT_EQ(m["recip0.entryID"], "(null)");
    EXPECT_EQ(m["message.fileCount"], "1");
    EXPECT_EQ(m["file0.reserved"], "0");
    EXPECT_EQ(m["file0.flags"], "0");
    EXPECT_EQ(m["file0.position"], "4294967295");
    // The stand-in shows a backslash as two.
    std::string path;
    for (char c : ReportPath())
        path += c == '\\' ? std::string("\\\\") : std::string(1, c);
    EXPECT_EQ(m["file0.pathName"], path);
    EXPECT_EQ(m["file0.fileName"], "(null)");
    EXPECT_EQ(m["file0.fileType"], "(null)");
    EXPECT_EQ(m["file0.copied"], "attachment-0");
    EXPECT_EQ(m["result"], "0");
}

TEST_F(EmailReportTest, AttachedReportHoldsEveryRowInTextModeWithEscapedTexts)
{
    OwnerWindow owner;
    EmailReport(owner.Get());
    const std::string html = Attachment();
    ASSERT_FALSE(html.empty());
    // The file the program left behind is the one that was attached.
    EXPECT_EQ(ReadWholeFile(ReportPath()), html);

    // Text mode: every line break is CR LF.
    for (size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '\n') {
            ASSERT_TRUE(i > 0 && html[i - 1] == '\r') << "bare line feed at " << i;
        }
    }
    EXPECT_EQ(html.substr(0, 48), "<html><head><title>Kavlo Report</title></head>\r\n");
    EXPECT_NE(html.find("<table width=\"80%\" borders=0"), std::string::npos);
    EXPECT_EQ(html.substr(html.size() - 39), "</table></center>\r\n</body>\r\n</html>\r\n\r\n");

    // A required F row: the verdict is F.
    EXPECT_EQ(Between(html, "<td>Final Status</td><td width=40>&nbsp;</td><td>", "</td>"), "F");
    EXPECT_NE(html.find("<tr bgcolor=\"#ffffff\"><td>1: A</td>\r\n<td>Memory</td><td><ul><li>2048 MB</li>"
                        "<li>At least 1024 MB of memory is required.</li></ul></td></tr>\r\n"),
              std::string::npos);
    EXPECT_NE(html.find("<tr bgcolor=\"#e0ffe0\"><td><color=\"#ffa0a0\">2: <b>F</b></color></td>\r\n"
                        "<td>USB 2.0</td><td><ul><li>No &lt;USB 2.0&gt; controller</li>"
                        "<li>Devices found: &quot;Generic &amp; Co&quot; hub\r\nPlug in a USB 2.0 card.</li>"
                        "</ul></td></tr>\r\n"),
              std::string::npos);
    EXPECT_NE(html.find("<tr bgcolor=\"#ffffff\"><td>3: I</td>\r\n<td>CPU</td><td><ul><li>x86 Family 6</li>"
                        "<li></li></ul></td></tr>\r\n"),
              std::string::npos);

    EXPECT_EQ(Between(html, "<td>Kavlo Version</td><td>&nbsp;</td><td>", "</td>"), KAVLO_VERSION_TEXT_FOR_TESTS);
    const std::string fingerprint = Between(html, "<td>System Finger Print</td><td>&nbsp;</td><td>", "</td>");
    EXPECT_EQ(fingerprint, ExpectedFingerprint());
    EXPECT_EQ(fingerprint.size(), 32u);
    EXPECT_EQ(fingerprint.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(fingerprint, std::string(32, '0'));

    // "yyyy-mm-dd hh:mm:ss ZONE" and the line break before "</td>".
    const std::string date = Between(html, "<td>Report Date</td><td>&nbsp;</td><td>", "</td>");
    ASSERT_GE(date.size(), 23u) << date;
    EXPECT_EQ(date.substr(date.size() - 2), "\r\n");
    SYSTEMTIME now;
    GetLocalTime(&now);
    char today[16];
    snprintf(today, sizeof(today), "%04d-%02d-%02d ", now.wYear, now.wMonth, now.wDay);
    EXPECT_EQ(date.substr(0, 11), today);
    const std::string zone = date.substr(20, date.size() - 22);
    EXPECT_EQ(zone, FormatTimeZoneName(64));
    if (const char* expected = std::getenv("KAVLO_EXPECT_ZONE_TEXT")) {
        EXPECT_EQ(zone, expected) << "TZ=" << (std::getenv("TZ") ? std::getenv("TZ") : "");
    }
    if (std::getenv("KAVLO_EXPECT_US_EASTERN")) {
        TIME_ZONE_INFORMATION info;
        EXPECT_EQ(zone, GetTimeZoneInformation(&info) == TIME_ZONE_ID_DAYLIGHT ? "EDT" : "EST");
        EXPECT_EQ(info.Bias, 300);
    }
}

TEST_F(EmailReportTest, FingerprintSameInEveryReportAndSecondMailReplacesTheFile)
{
    OwnerWindow owner;
    EmailReport(owner.Get());
    const std::string first = Attachment();
    g_results.pop_back();
    g_results[1].status = 'A';
    EmailReport(owner.Get());
    const std::string second = Attachment();
    const char* const kPrint = "<td>System Finger Print</td><td>&nbsp;</td><td>";
    EXPECT_EQ(Between(first, kPrint, "</td>"), Between(second, kPrint, "</td>"));
    EXPECT_EQ(Between(first, kPrint, "</td>"), SystemFingerprintText(64));
    // The second file holds the current two rows and the new verdict.
    EXPECT_EQ(ReadWholeFile(ReportPath()), second);
    EXPECT_EQ(second.find("3: I"), std::string::npos);
    EXPECT_NE(second.find("<td>2: A</td>"), std::string::npos);
    EXPECT_EQ(Between(second, "<td>Final Status</td><td width=40>&nbsp;</td><td>", "</td>"), "A");
}

TEST_F(EmailReportTest, UserAbortShowsNothingAndOtherCodesShowTheErrorBox)
{
    struct Case {
        const char* code;
        const char* text;   // null: no box
    };
    const Case cases[] = {
        {"0", nullptr},
        {"1", nullptr},
        {"3", "Email creation failed with error code 3.  The email messsage was not sent."},
        {"2", "Email creation failed with error code 2.  The email messsage was not sent."},
        {"26", "Email creation failed with error code 26.  The email messsage was not sent."},
    };
    OwnerWindow owner;
    for (const Case& c : cases) {
        ChooseResult(c.code);
        BoxAnswerer answerer("Email Error");
        EmailReport(owner.Get());
        const bool shown = answerer.Finish();
        EXPECT_EQ(Message()["result"], c.code);
        if (!c.text) {
            EXPECT_FALSE(shown) << c.code << ": " << answerer.text;
            continue;
        }
        ASSERT_TRUE(shown) << c.code;
        EXPECT_EQ(answerer.seen, 1);
        EXPECT_EQ(answerer.text, c.text);
        EXPECT_EQ(answerer.owner, owner.Get());
        // The report stays in the temporary folder.
        EXPECT_FALSE(ReadWholeFile(ReportPath()).empty());
    }
}

// Run with Simple MAPI disabled (WINEDLLOVERRIDES=mapi32=): the click has no
// visible effect and writes no file.
TEST(EmailReportWithoutMapi, DoesNothing)
{
    if (!std::getenv("KAVLO_EXPECT_NO_MAPI"))
        GTEST_SKIP() << "only in the run with Simple MAPI disabled";
    ASSERT_EQ(LoadLibraryA("mapi32.dll"), nullptr);
    const std::string report = TempFolder() + "KavloReport.html";
    DeleteFileA(report.c_str());
    OwnerWindow owner;
    BoxAnswerer answerer("Email Error");
    EmailReport(owner.Get());
    EXPECT_FALSE(answerer.Finish());
    EXPECT_EQ(GetFileAttributesA(report.c_str()), INVALID_FILE_ATTRIBUTES);
}
