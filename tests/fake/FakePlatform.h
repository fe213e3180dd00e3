#pragma once
// A recording fake of every platform interface. Each call is appended to one
// ordered transcript; the fake keeps the state a real platform would (window
// titles, tray icons, check marks, text box contents, timers), and the test
// drives timer ticks, tray actions, clicks and scripted replies itself.
//
// Transcript lines, by service (reads end in "?", their result after "->"):
//   ini read [SECTION] KEY -> value        ini write [SECTION] KEY = value [refused]
//   ini prepare path -> read | missing | not a file | too large | access denied | failed
//   tray: show "Vantorel" [mark=new-mail(3)] [refused]
//   tray: update "..." mark=new-mail(3)|error|paused|none [refused]
//   tray: remove [refused]                  tray: appears | tray: gone
//   notify 3通メールが来ています。 | 件名1 — sender1 / 件名2 — sender2   (body lines joined by " /
//   ")
//   Form show | Form hide | Form caption = ... | Form front | Form close | Form popup menu
//   Form.control text = ... | Form.control checked = true | Form.control visible = false
//   Form.control enabled = false | Form.control focus | Form.control selectAll
//   check timer on | check timer off | check timer interval = 60000      quit
//   box [caption] "text" [(information)]
//   foreground -> 0x10 | pointer -> (x,y) | window at (x,y) -> 0x11 | parent of 0x11 -> 0x10
//   window 0x10 exists -> true | title 0x10 -> "title" | title 0x10 -> failed (unreadable)
//   title 0x10 := "title" [failed]
//   flash 0x10 3 times
//   connection -> 0x2
//   sound load "path" | sound play "path" | sound stop
//   file dialog filter = ... | file dialog open -> chosen path | cancelled
//   RcvMail host user password command saveDir
//   RcvMailOAuth2 host user [access token] command saveDir   (never the token)
//   token command `line` limit=30000ms -> Token | Failed | TimedOut | NoOutput ...
//   exists path -> false | MkDir path [failed] | stderr: message
//   autostart? -> true | autostart add [refused] | autostart remove [refused]

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fake/Transcript.h"
#include "platform/Platform.h"

namespace vantorel::fake {

std::string Hex(std::uint64_t value);

class FakeAppInfo : public platform::AppInfo {
  public:
    std::string folder = "/opt/vantorel";
    std::string name = "Vantorel";
    char separator = '/';
    platform::VersionInfo versionRecord{1, 3, 5};

    std::string path() override { return folder; }
    std::string exeName() override { return name; }
    std::string title() override { return "Vantorel"; }
    platform::VersionInfo version() override { return versionRecord; }
    char pathSeparator() override { return separator; }
};

class FakeFileSystem : public platform::FileSystem {
  public:
    explicit FakeFileSystem(Transcript& t) : t_(t) {}
    bool exists(const std::string& path) override;
    bool createFolder(const std::string& path) override;

    std::set<std::string> existing;
    bool failCreate = false;

  private:
    Transcript& t_;
};

class FakeDiagnostics : public platform::Diagnostics {
  public:
    explicit FakeDiagnostics(Transcript& t) : t_(t) {}
    void warn(const std::string& message) override { t_.add("stderr: " + message); }

  private:
    Transcript& t_;
};

// An in-memory settings file store: sections and keys matched without
// regard to case, as the real store does.
class FakeProfile : public platform::Profile {
  public:
    explicit FakeProfile(Transcript& t) : t_(t) {}
    std::string getString(std::string_view section, std::string_view key, std::string_view fallback,
                          const std::string& path) override;
    bool writeString(std::string_view section, std::string_view key, std::string_view value,
                     const std::string& path) override;
    platform::FileCondition prepare(const std::string& path) override;

    // What the file holds, for setting up and checking; not recorded.
    void set(const std::string& section, const std::string& key, const std::string& value);
    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    void clear() { store_.clear(); }

    bool failWrites = false;
    // What the start-up check of the file finds (reads still see `set`).
    platform::FileCondition condition;
    // Keys whose writes are refused, in any letter case ("TIMER").
    std::set<std::string> refusedKeys;
    std::set<std::string> pathsWritten;

  private:
    bool RefusesKey(std::string_view key) const;

    Transcript& t_;
    std::map<std::string, std::map<std::string, std::string>> store_;  // lower section -> lower key
};

class FakeUi;

class FakeForm : public platform::Form {
  public:
    FakeForm(FakeUi& ui, const platform::FormLayout& layout, platform::FormEvents& events,
             platform::WindowHandle handle);
    ~FakeForm() override;

    platform::WindowHandle handle() override { return handle_; }
    platform::IconHandle icon() override { return handle_ + kIconOffset; }
    void setVisible(bool visible) override;
    bool visible() override;
    void bringToFront() override;
    void close() override;
    void setCaption(std::string_view caption) override;
    std::string text(platform::ControlId control) override;
    void setText(platform::ControlId control, std::string_view text) override;
    bool enabled(platform::ControlId control) override;
    void setEnabled(platform::ControlId control, bool enabled) override;
    bool checked(platform::ControlId control) override;
    void setChecked(platform::ControlId control, bool checked) override;
    void setControlVisible(platform::ControlId control, bool visible) override;
    void setFocus(platform::ControlId control) override;
    void selectAll(platform::ControlId control) override;
    void popupMenu(platform::ControlId menu) override;

    // State, for checking; not recorded.
    const std::string& name() const { return layout_.name; }
    const std::string& caption() const { return caption_; }
    bool isVisible() const { return visible_; }
    bool isClosed() const { return closed_; }
    std::string textOf(platform::ControlId control) const;
    bool isChecked(platform::ControlId control) const;
    bool isEnabled(platform::ControlId control) const;
    bool isControlVisible(platform::ControlId control) const;
    platform::ControlId focused() const { return focused_; }

    // The user's actions.
    void userTypes(platform::ControlId control, const std::string& text);
    void userClicks(platform::ControlId control);
    // Opens a menu of the menu bar (it is about to show; nothing chosen yet).
    void userOpensMenu(platform::ControlId menu);
    void userTogglesCheckBox(platform::ControlId control);
    void userCloses(platform::CloseReason reason = platform::CloseReason::CloseBox);
    platform::FormEvents& events() { return events_; }

  private:
    static constexpr platform::IconHandle kIconOffset = 0x100000;

    struct ControlState {
        std::string text;
        bool enabled = true;
        bool checked = false;
        bool visible = true;
    };
    ControlState& state(platform::ControlId control);
    const ControlState* find(platform::ControlId control) const;
    std::string label(platform::ControlId control) const;
    void record(const std::string& line);

    FakeUi& ui_;
    platform::FormLayout layout_;
    platform::FormEvents& events_;
    platform::WindowHandle handle_;
    std::map<platform::ControlId, ControlState> controls_;
    std::string caption_;
    bool visible_ = false;
    bool closed_ = false;
    platform::ControlId focused_ = platform::kNoControl;
};

class FakeTimer : public platform::Timer {
  public:
    FakeTimer(FakeUi& ui, Transcript& t, std::string name, std::function<void()> onTick)
        : ui_(ui), t_(t), name_(std::move(name)), onTick_(std::move(onTick)) {}
    ~FakeTimer() override;
    void setInterval(std::uint32_t milliseconds) override;
    std::uint32_t interval() override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() override { return enabled_; }

    const std::string& name() const { return name_; }
    bool isEnabled() const { return enabled_; }
    std::uint32_t period() const { return interval_; }
    // Runs one tick when the timer runs with a period above 0.
    bool fire();

  private:
    FakeUi& ui_;
    Transcript& t_;
    std::string name_;
    std::function<void()> onTick_;
    std::uint32_t interval_ = 0;
    bool enabled_ = false;
};

class FakeUi : public platform::WindowFramework {
  public:
    explicit FakeUi(Transcript& t) : t_(t) {}
    std::unique_ptr<platform::Form> createForm(const platform::FormLayout& layout,
                                               platform::FormEvents& events) override;
    std::unique_ptr<platform::Timer> createTimer(std::string_view name,
                                                 std::function<void()> onTick) override;
    void messageBox(std::string_view text, std::string_view caption,
                    platform::MessageIcon icon) override;
    void quit() override;

    // The newest window of that name that is still there (not destroyed).
    FakeForm* form(const std::string& name) const;
    FakeForm* formByHandle(platform::WindowHandle handle) const;
    // Windows of that name that exist and are not closed.
    int openCount(const std::string& name) const;
    FakeTimer* timer(const std::string& name) const;

    Transcript& transcript() { return t_; }
    void forget(FakeForm* form);
    void forget(FakeTimer* timer);

    bool quitRequested = false;
    // Runs while a message box is open, as if the user did something then.
    std::function<void(const std::string& text)> whileMessageBoxOpen;
    // The item the user chooses from the next popped-up menu (none: dismissed).
    std::deque<platform::ControlId> popupChoices;
    std::vector<std::string> messageBoxes;  // "[caption] text"

  private:
    Transcript& t_;
    std::vector<FakeForm*> forms_;
    std::vector<FakeTimer*> timers_;
    platform::WindowHandle nextHandle_ = 0x1000;
};

class FakeTray : public platform::TrayShell {
  public:
    explicit FakeTray(Transcript& t) : t_(t) {}
    bool show(platform::WindowHandle owner, const platform::TrayLook& look) override;
    bool update(const platform::TrayLook& look) override;
    bool remove() override;
    bool available() override { return present; }
    void watchAvailability(std::function<void()> appeared) override {
        appeared_ = std::move(appeared);
    }

    // A tray host starts (or starts again): its tray is empty and the
    // watcher hears of it.
    void appear();
    // The tray host ends: its icons go with it.
    void disappear();
    bool watched() const { return static_cast<bool>(appeared_); }

    struct ShownIcon {
        platform::WindowHandle owner = 0;
        platform::TrayLook look;
    };
    // The program's icon while it is in the tray.
    std::optional<ShownIcon> icon;
    bool present = true;  // a tray host is running
    bool refuseAll = false;
    bool throwOnCall = false;

  private:
    // A call the shell refuses, and one that throws, as the fields ask.
    bool refuses(bool refusedAnyway);
    void throwIfAsked();

    Transcript& t_;
    std::function<void()> appeared_;
};

// The mark as the transcript writes it: "new-mail(3)", "error", "paused",
// "none".
std::string MarkText(const platform::TrayMark& mark);

// The local time, set by the test; reads are not recorded.
class FakeClock : public platform::WallClock {
  public:
    platform::ClockTime now() override { return time; }
    platform::ClockTime time{14, 6};
};

class FakeNotifier : public platform::DesktopNotifier {
  public:
    explicit FakeNotifier(Transcript& t) : t_(t) {}
    bool notify(const platform::DesktopNotice& notice) override;

    std::vector<platform::DesktopNotice> shown;
    bool missing = false;  // no notification service on the desktop

  private:
    Transcript& t_;
};

class FakeWindows : public platform::ForeignWindows {
  public:
    struct Window {
        std::string title;
        platform::WindowHandle parent = 0;
        bool alive = true;
        bool unreadable = false;  // its title cannot be read (the read fails)
    };

    explicit FakeWindows(Transcript& t) : t_(t) {}
    platform::WindowHandle foregroundWindow() override;
    platform::Point cursorPos() override;
    platform::WindowHandle windowFromPoint(platform::Point point) override;
    platform::WindowHandle parent(platform::WindowHandle window) override;
    bool isWindow(platform::WindowHandle window) override;
    std::optional<std::string> windowText(platform::WindowHandle window) override;
    bool setWindowText(platform::WindowHandle window, std::string_view text) override;
    bool flash(platform::WindowHandle window, int times) override;

    // Adds or replaces a window.
    void add(platform::WindowHandle handle, std::string title, platform::WindowHandle parent = 0);
    std::string titleOf(platform::WindowHandle handle) const;

    std::map<platform::WindowHandle, Window> windows;
    platform::WindowHandle foreground = 0;
    platform::Point cursor{};
    platform::WindowHandle underCursor = 0;
    // Titles written, in order, by window.
    std::map<platform::WindowHandle, std::vector<std::string>> titlesWritten;

  private:
    Transcript& t_;
};

class FakeConnection : public platform::ConnectionState {
  public:
    explicit FakeConnection(Transcript& t) : t_(t) {}
    std::uint32_t connectedState() override;

    std::uint32_t flags = platform::ConnectionState::kLan;
    // Flags for the next calls, one per call, before falling back to `flags`.
    std::deque<std::uint32_t> nextFlags;

  private:
    Transcript& t_;
};

// Any file opens and plays here; a real player fails silently on a file
// it cannot play.
class FakePlayer : public platform::MediaPlayer {
  public:
    explicit FakePlayer(Transcript& t) : t_(t) {}
    void load(std::string_view path) override;
    void play(std::string_view path) override;
    void stop() override;

    bool open = false;
    bool playing = false;
    std::string fileName;  // the file open or last open

  private:
    Transcript& t_;
};

class FakeFileDialogs : public platform::FileDialogs {
  public:
    explicit FakeFileDialogs(Transcript& t) : t_(t) {}
    std::unique_ptr<platform::FileDialog> createFileDialog() override;

    // What the user does with the next dialogs: a path chosen, or nullopt
    // for a cancelled dialog. An empty queue cancels.
    std::deque<std::optional<std::string>> choices;

  private:
    Transcript& t_;
};

class FakeMail : public platform::MailLibrary {
  public:
    explicit FakeMail(Transcript& t) : t_(t) {}
    platform::MailReply RcvMail(const std::string& host, const std::string& user,
                                const std::string& password, const std::string& command,
                                const std::string& saveDir) override;
    // Recorded without the token, which goes to `accessTokens` for checking.
    platform::MailReply RcvMailOAuth2(const std::string& host, const std::string& user,
                                      const std::string& accessToken, const std::string& command,
                                      const std::string& saveDir) override;

    // Replies to the next calls of either entry, in order. With none left, `answer` decides;
    // without it the call is a failure text.
    std::deque<platform::MailReply> replies;
    std::function<platform::MailReply(const std::string& command)> answer;
    bool missing = false;  // the library cannot be found
    // Runs during the call, as the user may act while it blocks.
    std::function<void()> duringCall;
    std::vector<std::string> commands;
    std::vector<std::string> passwords;     // of the password calls, in order
    std::vector<std::string> accessTokens;  // of the OAuth 2.0 calls, in order

  private:
    platform::MailReply Reply(const std::string& command);

    Transcript& t_;
};

// The user's token command: each run takes the next scripted outcome. The
// outcome's token stays out of the transcript.
class FakeTokenCommand : public platform::TokenCommand {
  public:
    explicit FakeTokenCommand(Transcript& t) : t_(t) {}
    platform::TokenCommandOutcome Run(const std::string& commandLine,
                                      std::chrono::milliseconds limit) override;

    // A command that prints `token` and exits with 0.
    static platform::TokenCommandOutcome Printing(const std::string& token);
    // One that ends otherwise, having written `errorOutput` to standard error.
    static platform::TokenCommandOutcome Ending(platform::TokenCommandOutcome::Kind kind,
                                                const std::string& errorOutput, int status = 0);

    // Outcomes of the next runs; with none left a run cannot start.
    std::deque<platform::TokenCommandOutcome> outcomes;

  private:
    Transcript& t_;
};

// The session's autostart entry: `entry` says what the system holds.
class FakeAutostart : public platform::SessionAutostart {
  public:
    enum class Entry { None, Ours, OtherProgram };

    explicit FakeAutostart(Transcript& t) : t_(t) {}
    bool registered() override;
    platform::AutostartOutcome add() override;
    platform::AutostartOutcome remove() override;

    Entry entry = Entry::None;
    // A change refused with this problem, leaving `entry` as it was.
    std::optional<std::string> refuse;

  private:
    platform::AutostartOutcome change(const char* what, Entry after);

    Transcript& t_;
};

// Every fake, wired into one platform.
class FakePlatform {
  public:
    FakePlatform();

    platform::Platform& platform() { return platform_; }

    // Runs one tick of the named timer if it is running; false when not.
    bool tick(const std::string& timerName);
    // The user double-clicks the tray icon or asks for its menu; nothing
    // happens while there is no icon.
    void trayAction(platform::TrayAction action);

    Transcript transcript;
    FakeAppInfo app;
    FakeFileSystem files{transcript};
    FakeDiagnostics diagnostics{transcript};
    FakeProfile profile{transcript};
    FakeUi ui{transcript};
    FakeTray tray{transcript};
    FakeWindows windows{transcript};
    FakeConnection connection{transcript};
    FakePlayer player{transcript};
    FakeFileDialogs fileDialogs{transcript};
    FakeMail mail{transcript};
    FakeTokenCommand tokenCommand{transcript};
    FakeClock clock;
    FakeNotifier notifier{transcript};
    FakeAutostart autostart{transcript};

  private:
    platform::Platform platform_;
};

}  // namespace vantorel::fake
