// The hand-over from a backend's entry point: the program starts inside the
// backend's event loop, reads the settings file through the backend's codec
// and file access, reaches the mail library through the backend's loader,
// and is gone when the loop's exit code comes back.

#include "platform/ProgramEntry.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/SettingsWindowLayout.h"
#include "fake/FakePlatform.h"
#include "fake/UniqueFolder.h"
#include "platform/FileStore.h"
#include "platform/SystemTextCodec.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A loader that finds no library, and says which it was asked for.
class AbsentLibraryLoader : public platform::LibraryLoader {
  public:
    void* load(const std::string& baseName) override {
        loads.push_back(baseName);
        return nullptr;
    }
    void* symbol(void*, const char*) override { return nullptr; }
    std::string lastError() override { return "not found"; }

    std::vector<std::string> loads;
};

class ProgramEntry : public ::testing::Test {
  protected:
    ProgramEntry() {
        fake.app.folder = folder_.string();
        // The settings of a previous OK, in the settings file's own encoding
        // (the server name in Japanese shows that the codec was used).
        std::ofstream(folder_ / "vantorel.ini", std::ios::binary)
            << "[USERINFO]\r\nREMOTEHOST=\x83\x81\x81\x5B\x83\x8B.example\r\nUSERNAME=bob\r\n"
               "PASSWORD=secret\r\nINTERVAL=3\r\nTIMER=1\r\nSTARTUP=True\r\n";
    }
    ~ProgramEntry() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    int run(const EventLoop& loop) {
        const BackendServices services{.app = fake.app,
                                       .files = fake.files,
                                       .diagnostics = fake.diagnostics,
                                       .settingsCodec = *codec_,
                                       .settingsStore = *store_,
                                       .ui = fake.ui,
                                       .tray = fake.tray,
                                       .windows = fake.windows,
                                       .connection = fake.connection,
                                       .player = fake.player,
                                       .fileDialogs = fake.fileDialogs,
                                       .libraryLoader = loader,
                                       .programFolder = "/opt/vantorel/bin",
                                       .tokenCommand = fake.tokenCommand,
                                       .clock = fake.clock,
                                       .notifier = fake.notifier,
                                       .autostart = fake.autostart};
        return RunProgram(services, loop);
    }

    fake::FakeForm* mainForm() { return fake.ui.form("SettingsWindow"); }

    fake::FakePlatform fake;
    AbsentLibraryLoader loader;

  private:
    std::filesystem::path folder_ = testing::MakeUniqueFolder("vantorel-entry");
    std::unique_ptr<platform::TextCodec> codec_ = MakeSystemTextCodec();
    std::unique_ptr<platform::FileStore> store_ = platform::MakeFileStore();
};

TEST_F(ProgramEntry, TheProgramStartsInTheLoopFromTheSettingsFileAndIsGoneWithItsExitCode) {
    constexpr int kExitCode = 7;
    std::string serverBeforeStart = "<no window>";
    std::string server;
    bool visible = true;
    const int exitCode = run([&](const std::function<void()>& start) {
        serverBeforeStart = mainForm()->textOf(ctl::ServerBox);
        start();
        server = mainForm()->textOf(ctl::ServerBox);
        visible = mainForm()->isVisible();
        return kExitCode;
    });
    EXPECT_EQ(serverBeforeStart, "");  // the load step runs inside the loop
    EXPECT_EQ(server, "メール.example");
    EXPECT_FALSE(visible);  // tray mode, as the settings file asks
    EXPECT_EQ(exitCode, kExitCode);
    EXPECT_EQ(mainForm(), nullptr);
}

TEST_F(ProgramEntry, TheMailLibraryIsLookedForThroughTheBackendsLoaderInTheProgramFolder) {
    run([&](const std::function<void()>& start) {
        start();
        EXPECT_THAT(loader.loads, IsEmpty());
        mainForm()->userClicks(ctl::CheckNow);
        return 0;
    });
    EXPECT_THAT(loader.loads, ElementsAre("popmail"));
    EXPECT_THAT(fake.transcript.matching("stderr:"),
                ElementsAre(HasSubstr("beside the program in /opt/vantorel/bin")));
}

}  // namespace
}  // namespace vantorel
