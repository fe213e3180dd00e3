// popmail.dll loaded and freed as a program does, and a process that exits
// while the library keeps a session: neither may hang on the keeper's
// thread (FreeLibrary and the process's exit run the DLL's detach under the
// loader lock).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "fake/FakeMailbox.h"
#include "fake/FakePop3Server.h"
#include "popmail/popmail.h"

namespace popmail::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The library keeps a STAT's session this long before its keeper QUITs.
constexpr auto kKeepAlive = 5s;
constexpr DWORD kPopcheckWaitMs = 30'000;
constexpr DWORD kPipeChunk = 4096;

std::wstring BesideThisProgram(const std::wstring& name) {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

template <typename Function>
Function Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

FakeMailbox OneMessage() {
    FakeMailbox mailbox;
    mailbox.messages = {MakeMessage("one", "A <a@example.jp>", "Mon, 7 Dec 2026 09:00:00 +0900")};
    return mailbox;
}

TEST(PopmailDll, UnloadsWhenItWasNeverCalled) {
    if (GetModuleHandleW(L"popmail.dll") != nullptr) {
        GTEST_SKIP() << "popmail.dll was called earlier in this process and stays loaded";
    }
    HMODULE module = LoadLibraryW(BesideThisProgram(L"popmail.dll").c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "RcvMail"), nullptr);
    ASSERT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleW(L"popmail.dll"), nullptr);
}

TEST(PopmailDll, FreeLibraryWithAKeptSessionReturnsAndTheSessionStillEndsWithQuit) {
    FakePop3Server server;
    const FakeMailbox mailbox = OneMessage();
    server.Serve({[mailbox](Peer& peer) { ServeMailbox(peer, mailbox); }});
    HMODULE module = LoadLibraryW(BesideThisProgram(L"popmail.dll").c_str());
    ASSERT_NE(module, nullptr);
    const auto rcvMail = Bind<decltype(&RcvMail)>(module, "RcvMail");
    const auto isList = Bind<decltype(&PopmailReplyIsList)>(module, "PopmailReplyIsList");
    const auto release = Bind<decltype(&PopmailReplyFree)>(module, "PopmailReplyFree");
    ASSERT_TRUE(rcvMail != nullptr && isList != nullptr && release != nullptr);

    PopmailReply* reply =
        rcvMail(("pop3://" + server.address()).c_str(), "alice", "secret", "STAT", "");
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(isList(reply), 1);
    release(reply);

    // Joining the keeper's thread here would deadlock under the loader lock.
    const auto started = Clock::now();
    ASSERT_TRUE(FreeLibrary(module));
    EXPECT_LT(Clock::now() - started, 1s);
    // The library stays in the process, and its keeper ends the session.
    server.Wait();
    EXPECT_EQ(server.Commands().back(), "QUIT");
    EXPECT_NE(GetModuleHandleW(L"popmail.dll"), nullptr);
}

struct ProcessRun {
    DWORD exitCode = 0;
    std::string output;
    Clock::duration elapsed{};
};

// Runs popcheck.exe with `input` on its standard input.
ProcessRun RunPopcheck(const std::wstring& arguments, const std::string& input) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE inputWrite = nullptr;
    HANDLE outputRead = nullptr;
    HANDLE outputWrite = nullptr;
    CreatePipe(&inputRead, &inputWrite, &inherited, 0);
    CreatePipe(&outputRead, &outputWrite, &inherited, 0);
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    const std::wstring program = BesideThisProgram(L"popcheck.exe");
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    ProcessRun run;
    const auto started = Clock::now();
    const BOOL created = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        0, nullptr, nullptr, &startup, &process);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    if (created) {
        DWORD written = 0;
        WriteFile(inputWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
        CloseHandle(inputWrite);
        char chunk[kPipeChunk];
        DWORD got = 0;
        while (ReadFile(outputRead, chunk, sizeof chunk, &got, nullptr) && got > 0) {
            run.output.append(chunk, got);
        }
        WaitForSingleObject(process.hProcess, kPopcheckWaitMs);
        run.elapsed = Clock::now() - started;
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        CloseHandle(inputWrite);
        run.exitCode = GetLastError();
    }
    CloseHandle(outputRead);
    return run;
}

TEST(PopcheckExe, ExitsAtOnceWhileTheLibraryKeepsASession) {
    FakePop3Server server;
    const FakeMailbox mailbox = OneMessage();
    server.Serve({[mailbox](Peer& peer) { ServeMailbox(peer, mailbox); }});
    const ProcessRun run =
        RunPopcheck(L"pop3://" + Wide(server.address()) + L" alice STAT", "secret\n");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.output.rfind("1 ", 0), 0u) << run.output;
    // It did not wait for the keeper; the system closed the kept session.
    EXPECT_LT(run.elapsed, kKeepAlive);
    server.Wait();
    const auto commands = server.Commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), "STAT");
}

}  // namespace
}  // namespace popmail::testing
