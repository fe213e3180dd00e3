#pragma once
// Shared setting for the mail check and display tests: the program resting
// in the tray, a window the user works in, and a scripted mailbox that
// answers as the mail library does.

#include <string>
#include <vector>

#include "fake/ProgramFixture.h"
#include "settings/Count16.h"

namespace vantorel::fake {

constexpr platform::WindowHandle kEditor = 0x10;
constexpr const char* kEditorTitle = "notes.txt - Editor";

// A summary element as the mail library gives it.
inline std::string Summary(const std::string& subject, const std::string& from,
                           const std::string& date) {
    return "Subject:" + subject + "\tFrom:" + from + "\tDate:" + date;
}

// The summary of message `n` of a scripted mailbox.
inline std::string MessageSummary(int n) {
    const std::string number = std::to_string(n);
    return Summary("件名" + number, "sender" + number + "@example.jp", "day " + number);
}

// What the title bar shows for message `n` with the default labels.
inline std::string MessageShown(int n) {
    const std::string number = std::to_string(n);
    return "Subject:件名" + number + " From:sender" + number + "@example.jp Date:day " + number;
}

class CheckFixture : public ProgramFixture {
  protected:
    // The program in the tray with the check interval `interval` minutes
    // and a display interval of one second; the editor is in front. The
    // transcript starts after the load step.
    App& startInTray(const std::string& interval = "3") {
        acceptedSettings(interval, "1");
        fake.windows.add(kEditor, kEditorTitle);
        fake.windows.foreground = kEditor;
        App& app = start();
        fake.transcript.clear();
        return app;
    }

    // A mailbox of `count` messages: "STAT" answers the count, "LIST 1-N"
    // the first N summaries, "LIST 1-0" the library's no-message text.
    void mailbox(int count) {
        fake.mail.answer = [count](const std::string& command) {
            if (command == "STAT") {
                return platform::MailReply::List({std::to_string(count) + " 4096"});
            }
            const int listed = std::stoi(command.substr(std::string("LIST 1-").size()));
            if (listed == 0) {
                return platform::MailReply::Text("No Message+OK 0 0");
            }
            std::vector<std::string> summaries;
            for (int n = 1; n <= listed; ++n) {
                summaries.push_back(MessageSummary(n));
            }
            return platform::MailReply::List(summaries);
        };
    }

    void mark(platform::ControlId item, bool on) { mainForm().setChecked(item, on); }

    // `count` messages announced under the once-only option and their
    // display cycle run out; what the check sent and wrote is forgotten.
    void announcedOnce(int count) {
        mark(ctl::OnceOnly, true);
        mailbox(count);
        ASSERT_TRUE(program->CheckMail());
        runCycle();
        fake.windows.titlesWritten.clear();
        fake.mail.commands.clear();
        fake.transcript.clear();
    }

    // One check started by the check timer: ticks until it has started one.
    void timerCheck() {
        const auto before = fake.mail.commands.size();
        for (int minute = 0; minute < kMostMinutes && fake.mail.commands.size() == before;
             ++minute) {
            ASSERT_TRUE(fake.tick("check timer")) << "the check timer is off";
        }
    }

    // Ticks the display timer until the cycle ends; the number of ticks.
    int runCycle() {
        int ticks = 0;
        while (fake.tick("display timer") && ticks < kMostTicks) {
            ++ticks;
        }
        return ticks;
    }

    std::vector<std::string> editorTitles() { return fake.windows.titlesWritten[kEditor]; }
    bool timerOn(const std::string& name) { return timer(name).isEnabled(); }

    static constexpr int kMostMinutes = 100;
    static constexpr int kMostTicks = 1000;
};

}  // namespace vantorel::fake
