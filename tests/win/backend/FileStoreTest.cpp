// The settings file's store on Windows: the new file's access list grants
// the user and the system account alone from its creation, inherits nothing
// from the folder, and replacements go through a rename.

#include <windows.h>
// aclapi.h needs the types of windows.h first.
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "WinTestSupport.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileStore.h"

namespace vantorel::win32 {
namespace {

// The access list of a file as "SID mask" texts. (Wine does not report the
// list's protection against inheritance, so the entries are what is checked.)
struct AccessList {
    std::set<std::string> entries;
    bool read = false;
};

AccessList AccessListOf(const std::string& path) {
    AccessList list;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(Widen(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, &acl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return list;
    }
    list.read = acl != nullptr;
    for (DWORD i = 0; acl != nullptr && i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(acl, i, &ace)) {
            continue;
        }
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) {
            list.entries.insert("not an allow entry");
            continue;
        }
        wchar_t* sid = nullptr;
        ConvertSidToStringSidW(&allowed->SidStart, &sid);
        list.entries.insert(Narrow(sid) + " " + std::to_string(allowed->Mask));
        LocalFree(sid);
    }
    LocalFree(descriptor);
    return list;
}

std::string CurrentUserSid() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
    CloseHandle(token);
    wchar_t* sid = nullptr;
    ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid);
    const std::string text = Narrow(sid);
    LocalFree(sid);
    return text;
}

TEST(Win32FileStore, TheNewFileIsForTheUserAndTheSystemAloneFromItsCreation) {
    test::TempFolder folder;
    const std::string file = folder.file("vantorel.ini");
    AccessList atCreation;
    Win32FileStore store(
        [&](const std::string& temporary) { atCreation = AccessListOf(temporary); });
    ASSERT_TRUE(store.replaceWhole(file, "[USERINFO]\r\nPASSWORD=secret\r\n"));
    if (!atCreation.read) {
        GTEST_SKIP() << "this system keeps no access lists for files";
    }
    const std::string all = std::to_string(FILE_ALL_ACCESS);
    const std::set<std::string> expected = {CurrentUserSid() + " " + all, "S-1-5-18 " + all};
    EXPECT_EQ(atCreation.entries, expected);
    EXPECT_EQ(AccessListOf(file).entries, expected) << "the rename keeps the list";
}

TEST(Win32FileStore, ReplacesReadsAndKeepsAside) {
    test::TempFolder folder;
    const std::string file = folder.file("vantorel.ini");
    Win32FileStore store;
    EXPECT_EQ(store.readWhole(file, 100).condition.outcome, platform::ReadOutcome::Missing);
    ASSERT_TRUE(store.replaceWhole(file, "first"));
    ASSERT_EQ(store.keepAside(file, file + ".unreadable"), platform::AsideOutcome::Kept);
    ASSERT_TRUE(store.replaceWhole(file, "second!"));
    EXPECT_EQ(store.readWhole(file, 100).bytes, "second!");
    EXPECT_EQ(store.readWhole(file + ".unreadable", 100).bytes, "first");
    EXPECT_EQ(store.keepAside(file, file + ".unreadable"), platform::AsideOutcome::NameTaken);
    EXPECT_EQ(store.readWhole(file, 6).condition.outcome, platform::ReadOutcome::TooLarge);
    std::filesystem::create_directory(folder.path() / "sub");
    EXPECT_EQ(store.readWhole(folder.file("sub"), 100).condition.outcome,
              platform::ReadOutcome::NotAFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              3)
        << "no temporary file is left";
}

}  // namespace
}  // namespace vantorel::win32
