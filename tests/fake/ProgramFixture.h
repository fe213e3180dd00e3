#pragma once
// A gtest fixture that runs the program on the fake platform: the main
// window is created and loaded from the fake settings file by start().

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/SettingsWindowLayout.h"
#include "fake/FakePlatform.h"

namespace vantorel::fake {

class ProgramFixture : public ::testing::Test {
  protected:
    // Creates the main window and runs its load step; the transcript starts
    // with the load step.
    App& start() {
        // One main window at a time, as in the program: the old one goes
        // (and lets go of the platform) before the new one comes.
        program.reset();
        program = std::make_unique<App>(fake.platform());
        fake.transcript.clear();
        program->start();
        return *program;
    }

    // The settings as a previous OK left them: tray mode on the next start.
    void acceptedSettings(const std::string& interval = "3", const std::string& timer = "1") {
        fake.profile.set("USERINFO", "REMOTEHOST", "mail.example");
        fake.profile.set("USERINFO", "USERNAME", "bob");
        fake.profile.set("USERINFO", "PASSWORD", "secret");
        fake.profile.set("USERINFO", "INTERVAL", interval);
        fake.profile.set("USERINFO", "TIMER", timer);
        fake.profile.set("USERINFO", "STARTUP", "True");
    }

    FakeForm& mainForm() { return *fake.ui.form("SettingsWindow"); }
    FakeTimer& timer(const std::string& name) { return *fake.ui.timer(name); }
    bool marked(platform::ControlId item) { return mainForm().isChecked(item); }
    std::vector<std::string> lines(const std::string& prefix) {
        return fake.transcript.matching(prefix);
    }
    // Titles written into other programs' windows ("title 0x10 := ...").
    std::vector<std::string> titleWrites() { return titleLines(":="); }
    // Titles read from them ("title 0x10 -> ...").
    std::vector<std::string> titleReads() { return titleLines("->"); }

    FakePlatform fake;
    std::unique_ptr<App> program;

  private:
    // The title lines whose window is followed by `arrow`.
    std::vector<std::string> titleLines(const std::string& arrow) {
        std::vector<std::string> found;
        for (const std::string& line : lines("title ")) {
            const auto afterWindow = line.find(' ', std::string("title ").size());
            if (afterWindow != std::string::npos &&
                line.compare(afterWindow + 1, arrow.size(), arrow) == 0) {
                found.push_back(line);
            }
        }
        return found;
    }
};

}  // namespace vantorel::fake
