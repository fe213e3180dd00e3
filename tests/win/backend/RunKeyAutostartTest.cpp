// Starting with the session on Windows, under Wine, against the registry:
// the value is written, read back and removed in a key of the test's own
// (never the user's real Run key), and the key is deleted afterwards.

#include "platform/win32/RunKeyAutostart.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace vantorel::win32 {
namespace {

constexpr const wchar_t* kValue = L"Vantorel";
constexpr const wchar_t* kExe = L"C:\\Program Files\\Vantorel\\vantorel.exe";

class RunKeyAutostartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        key_ = L"Software\\VantorelTests\\Run-" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

    RunKeyAutostart autostart(const std::wstring& exe = kExe) {
        return RunKeyAutostart(key_, kValue, exe);
    }
    // The value's text; "<none>" when it is not there.
    std::wstring value(const wchar_t* name = kValue) {
        wchar_t buffer[1024] = {};
        DWORD bytes = sizeof(buffer);
        if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer,
                         &bytes) != ERROR_SUCCESS) {
            return L"<none>";
        }
        return buffer;
    }
    void setValue(const wchar_t* name, const std::wstring& text) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name, REG_SZ, text.c_str(),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    std::wstring key_;
};

TEST_F(RunKeyAutostartTest, AddWritesTheQuotedPathAndRemoveDeletesIt) {
    auto session = autostart();
    EXPECT_FALSE(session.registered());
    ASSERT_TRUE(session.add().done);
    EXPECT_EQ(value(), L"\"C:\\Program Files\\Vantorel\\vantorel.exe\"");
    EXPECT_TRUE(session.registered());
    ASSERT_TRUE(session.remove().done);
    EXPECT_EQ(value(), L"<none>");
    EXPECT_FALSE(session.registered());
    EXPECT_TRUE(session.remove().done);  // nothing left: still done
}

TEST_F(RunKeyAutostartTest, OtherValuesAndAnotherProgramsVantorelValueAreLeftAlone) {
    setValue(L"Mailer", L"\"C:\\Mailer\\mailer.exe\" /tray");
    setValue(kValue, L"\"D:\\Old\\vantorel.exe\"");
    auto session = autostart();
    EXPECT_FALSE(session.registered());
    ASSERT_TRUE(session.remove().done);
    EXPECT_EQ(value(), L"\"D:\\Old\\vantorel.exe\"");
    // Adding puts this copy in its place; the other value stays.
    ASSERT_TRUE(session.add().done);
    EXPECT_TRUE(session.registered());
    ASSERT_TRUE(session.remove().done);
    EXPECT_EQ(value(L"Mailer"), L"\"C:\\Mailer\\mailer.exe\" /tray");
}

TEST_F(RunKeyAutostartTest, AValueWrittenByHandNamesUsWhateverItsCaseOrQuotes) {
    setValue(kValue, L"\"c:\\program files\\VANTOREL\\vantorel.EXE\" /min");
    EXPECT_TRUE(autostart().registered());
    setValue(kValue, L"C:\\Program Files\\Vantorel\\vantorel.exe");
    EXPECT_TRUE(autostart().registered());
    setValue(kValue, L"C:\\Tools\\vantorel.exe /min");
    EXPECT_TRUE(autostart(L"C:\\Tools\\vantorel.exe").registered());
    EXPECT_FALSE(autostart(L"C:\\Tools\\vantorel").registered());
}

TEST_F(RunKeyAutostartTest, TheProgramOfACommandLine) {
    EXPECT_EQ(RunCommandProgram(L"  \"C:\\A B\\v.exe\" /x"), L"C:\\A B\\v.exe");
    EXPECT_EQ(RunCommandProgram(L"C:\\v.exe /x"), L"C:\\v.exe");
    EXPECT_EQ(RunCommandProgram(L"\"C:\\open"), L"");
    EXPECT_EQ(RunCommandProgram(L""), L"");
}

// The one test that reaches the user's real Run key: whatever "Vantorel"
// value was there before is put back.
TEST_F(RunKeyAutostartTest, TheRunningProgramIsRegisteredInTheUsersRunKeyUnderItsOwnPath) {
    const std::wstring realKey = kRunKeyPath;
    wchar_t before[1024] = {};
    DWORD bytes = sizeof(before);
    const bool hadValue = RegGetValueW(HKEY_CURRENT_USER, realKey.c_str(), kRunValueName,
                                       RRF_RT_REG_SZ, nullptr, before, &bytes) == ERROR_SUCCESS;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);

    auto session = RunKeyAutostart::ForThisProgram();
    const bool added = session.add().done;
    wchar_t written[1024] = {};
    bytes = sizeof(written);
    RegGetValueW(HKEY_CURRENT_USER, realKey.c_str(), kRunValueName, RRF_RT_REG_SZ, nullptr, written,
                 &bytes);
    const bool registered = session.registered();
    const bool removed = session.remove().done;
    const bool stillRegistered = session.registered();
    if (hadValue) {
        RegSetKeyValueW(HKEY_CURRENT_USER, realKey.c_str(), kRunValueName, REG_SZ, before,
                        static_cast<DWORD>((std::wstring(before).size() + 1) * sizeof(wchar_t)));
    }

    EXPECT_TRUE(added);
    EXPECT_EQ(std::wstring(written), L"\"" + std::wstring(self) + L"\"");
    EXPECT_TRUE(registered);
    EXPECT_TRUE(removed);
    EXPECT_FALSE(stillRegistered);
}

}  // namespace
}  // namespace vantorel::win32
