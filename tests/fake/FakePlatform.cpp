#include "fake/FakePlatform.h"

#include "platform/RuntimeFailure.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace vantorel::fake {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string YesNo(bool value) {
    return value ? "true" : "false";
}

// A text the user reads, in double quotes.
std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string PointText(platform::Point p) {
    return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

}  // namespace

std::string Hex(std::uint64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
    return buffer;
}

// ---- files and diagnostics

bool FakeFileSystem::exists(const std::string& path) {
    const bool found = existing.count(path) != 0;
    t_.add("exists " + path + " -> " + YesNo(found));
    return found;
}

bool FakeFileSystem::createFolder(const std::string& path) {
    if (failCreate) {
        t_.add("MkDir " + path + " failed");
        return false;
    }
    existing.insert(path);
    t_.add("MkDir " + path);
    return true;
}

// ---- settings file

std::string FakeProfile::getString(std::string_view section, std::string_view key,
                                   std::string_view fallback, const std::string& /*path*/) {
    std::string result(fallback);
    const auto s = store_.find(Lower(section));
    if (s != store_.end()) {
        const auto k = s->second.find(Lower(key));
        if (k != s->second.end()) {
            result = k->second;
        }
    }
    t_.add("ini read [" + std::string(section) + "] " + std::string(key) + " -> " + result);
    return result;
}

bool FakeProfile::writeString(std::string_view section, std::string_view key,
                              std::string_view value, const std::string& path) {
    const bool refused = failWrites || RefusesKey(key) ||
                         value.find_first_of(std::string("\r\n\0", 3)) != value.npos;
    t_.add("ini write [" + std::string(section) + "] " + std::string(key) + " = " +
           std::string(value) + (refused ? " refused" : ""));
    if (refused) {
        return false;
    }
    store_[Lower(section)][Lower(key)] = std::string(value);
    pathsWritten.insert(path);
    return true;
}

platform::FileCondition FakeProfile::prepare(const std::string& path) {
    static const std::map<platform::ReadOutcome, std::string> kNames = {
        {platform::ReadOutcome::Read, "read"},
        {platform::ReadOutcome::Missing, "missing"},
        {platform::ReadOutcome::NotAFile, "not a file"},
        {platform::ReadOutcome::TooLarge, "too large"},
        {platform::ReadOutcome::AccessDenied, "access denied"},
        {platform::ReadOutcome::Failed, "failed"},
    };
    t_.add("ini prepare " + path + " -> " + kNames.at(condition.outcome));
    return condition;
}

bool FakeProfile::RefusesKey(std::string_view key) const {
    return std::any_of(refusedKeys.begin(), refusedKeys.end(),
                       [&](const std::string& refused) { return Lower(refused) == Lower(key); });
}

void FakeProfile::set(const std::string& section, const std::string& key,
                      const std::string& value) {
    store_[Lower(section)][Lower(key)] = value;
}

std::optional<std::string> FakeProfile::value(const std::string& section,
                                              const std::string& key) const {
    const auto s = store_.find(Lower(section));
    if (s == store_.end()) {
        return std::nullopt;
    }
    const auto k = s->second.find(Lower(key));
    if (k == s->second.end()) {
        return std::nullopt;
    }
    return k->second;
}

// ---- windows of the program

FakeForm::FakeForm(FakeUi& ui, const platform::FormLayout& layout, platform::FormEvents& events,
                   platform::WindowHandle handle)
    : ui_(ui), layout_(layout), events_(events), handle_(handle), caption_(layout.caption) {
    for (const auto& control : layout_.controls) {
        controls_[control.id].text = control.caption;
    }
}

FakeForm::~FakeForm() {
    ui_.forget(this);
}

void FakeForm::record(const std::string& line) {
    ui_.transcript().add(line);
}

std::string FakeForm::label(platform::ControlId control) const {
    const auto* layout = layout_.find(control);
    return layout_.name + "." + (layout != nullptr ? layout->name : "#" + std::to_string(control));
}

FakeForm::ControlState& FakeForm::state(platform::ControlId control) {
    if (layout_.find(control) == nullptr) {
        throw std::logic_error(layout_.name + " has no control " + std::to_string(control));
    }
    return controls_[control];
}

const FakeForm::ControlState* FakeForm::find(platform::ControlId control) const {
    const auto it = controls_.find(control);
    return it == controls_.end() ? nullptr : &it->second;
}

void FakeForm::setVisible(bool visible) {
    if (closed_) {
        return;
    }
    visible_ = visible;
    record(layout_.name + (visible ? " show" : " hide"));
}

bool FakeForm::visible() {
    return visible_;
}

void FakeForm::bringToFront() {
    if (!closed_) {
        record(layout_.name + " front");
    }
}

void FakeForm::close() {
    if (closed_) {
        return;
    }
    closed_ = true;
    visible_ = false;
    record(layout_.name + " close");
}

void FakeForm::setCaption(std::string_view caption) {
    caption_ = std::string(caption);
    record(layout_.name + " caption = " + caption_);
}

std::string FakeForm::text(platform::ControlId control) {
    return state(control).text;
}

void FakeForm::setText(platform::ControlId control, std::string_view text) {
    state(control).text = std::string(text);
    record(label(control) + " text = " + std::string(text));
}

bool FakeForm::enabled(platform::ControlId control) {
    return state(control).enabled;
}

void FakeForm::setEnabled(platform::ControlId control, bool enabled) {
    state(control).enabled = enabled;
    record(label(control) + " enabled = " + YesNo(enabled));
}

bool FakeForm::checked(platform::ControlId control) {
    const bool value = state(control).checked;
    record(label(control) + " checked? -> " + YesNo(value));
    return value;
}

void FakeForm::setChecked(platform::ControlId control, bool checked) {
    state(control).checked = checked;
    record(label(control) + " checked = " + YesNo(checked));
}

void FakeForm::setControlVisible(platform::ControlId control, bool visible) {
    state(control).visible = visible;
    record(label(control) + " visible = " + YesNo(visible));
}

void FakeForm::setFocus(platform::ControlId control) {
    state(control);
    focused_ = control;
    record(label(control) + " focus");
}

void FakeForm::selectAll(platform::ControlId control) {
    state(control);
    record(label(control) + " selectAll");
}

void FakeForm::popupMenu(platform::ControlId menu) {
    state(menu);
    const auto* layout = layout_.find(menu);
    record(layout_.name + " popup " + layout->name);
    events_.MenuOpening(menu);
    if (ui_.popupChoices.empty()) {
        return;
    }
    const platform::ControlId choice = ui_.popupChoices.front();
    ui_.popupChoices.pop_front();
    if (choice != platform::kNoControl) {
        events_.Click(choice);
    }
}

std::string FakeForm::textOf(platform::ControlId control) const {
    const auto* s = find(control);
    return s != nullptr ? s->text : std::string();
}

bool FakeForm::isChecked(platform::ControlId control) const {
    const auto* s = find(control);
    return s != nullptr && s->checked;
}

bool FakeForm::isEnabled(platform::ControlId control) const {
    const auto* s = find(control);
    return s == nullptr || s->enabled;
}

bool FakeForm::isControlVisible(platform::ControlId control) const {
    const auto* s = find(control);
    return s == nullptr || s->visible;
}

void FakeForm::userTypes(platform::ControlId control, const std::string& text) {
    state(control).text = text;
}

void FakeForm::userClicks(platform::ControlId control) {
    state(control);
    events_.Click(control);
}

void FakeForm::userOpensMenu(platform::ControlId menu) {
    state(menu);
    events_.MenuOpening(menu);
}

void FakeForm::userTogglesCheckBox(platform::ControlId control) {
    auto& s = state(control);
    s.checked = !s.checked;
    events_.CheckBoxClick(control);
}

void FakeForm::userCloses(platform::CloseReason reason) {
    events_.CloseRequested(reason);
}

// ---- timers

FakeTimer::~FakeTimer() {
    ui_.forget(this);
}

void FakeTimer::setInterval(std::uint32_t milliseconds) {
    interval_ = milliseconds;
    t_.add(name_ + " interval = " + std::to_string(milliseconds));
}

void FakeTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    t_.add(name_ + (enabled ? " on" : " off"));
}

bool FakeTimer::fire() {
    if (!enabled_ || interval_ == 0) {
        return false;
    }
    onTick_();
    return true;
}

// ---- the window framework

std::unique_ptr<platform::Form> FakeUi::createForm(const platform::FormLayout& layout,
                                                   platform::FormEvents& events) {
    auto form = std::make_unique<FakeForm>(*this, layout, events, nextHandle_);
    nextHandle_ += 0x10;
    forms_.push_back(form.get());
    t_.add(layout.name + " created");
    return form;
}

std::unique_ptr<platform::Timer> FakeUi::createTimer(std::string_view name,
                                                     std::function<void()> onTick) {
    auto timer = std::make_unique<FakeTimer>(*this, t_, std::string(name), std::move(onTick));
    timers_.push_back(timer.get());
    return timer;
}

void FakeUi::messageBox(std::string_view text, std::string_view caption,
                        platform::MessageIcon icon) {
    const std::string iconText = icon == platform::MessageIcon::Information ? " (information)" : "";
    t_.add("box [" + std::string(caption) + "] " + Quoted(text) + iconText);
    messageBoxes.push_back("[" + std::string(caption) + "] " + std::string(text));
    if (whileMessageBoxOpen) {
        whileMessageBoxOpen(std::string(text));
    }
}

void FakeUi::quit() {
    quitRequested = true;
    t_.add("quit");
}

FakeForm* FakeUi::form(const std::string& name) const {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
        if ((*it)->name() == name) {
            return *it;
        }
    }
    return nullptr;
}

FakeForm* FakeUi::formByHandle(platform::WindowHandle handle) const {
    for (auto* form : forms_) {
        if (form->handle() == handle) {
            return form;
        }
    }
    return nullptr;
}

int FakeUi::openCount(const std::string& name) const {
    return static_cast<int>(std::count_if(forms_.begin(), forms_.end(), [&](FakeForm* form) {
        return form->name() == name && !form->isClosed();
    }));
}

FakeTimer* FakeUi::timer(const std::string& name) const {
    for (auto* timer : timers_) {
        if (timer->name() == name) {
            return timer;
        }
    }
    return nullptr;
}

void FakeUi::forget(FakeForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void FakeUi::forget(FakeTimer* timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

// ---- tray

namespace {

std::string TipText(const platform::TrayLook& look) {
    return "\"" + look.tip + "\"";
}

std::string RefusedText(bool refused) {
    return refused ? " refused" : "";
}

}  // namespace

bool FakeTray::refuses(bool refusedAnyway) {
    return !present || refuseAll || throwOnCall || refusedAnyway;
}

void FakeTray::throwIfAsked() {
    if (throwOnCall) {
        throw std::runtime_error("shell refused");
    }
}

bool FakeTray::show(platform::WindowHandle owner, const platform::TrayLook& look) {
    const bool refused = refuses(icon.has_value());
    const bool marked = look.mark.kind != platform::TrayMark::Kind::None;
    t_.add("tray: show " + TipText(look) + (marked ? " mark=" + MarkText(look.mark) : "") +
           RefusedText(refused));
    throwIfAsked();
    if (!refused) {
        icon = ShownIcon{owner, look};
    }
    return !refused;
}

bool FakeTray::update(const platform::TrayLook& look) {
    const bool refused = refuses(!icon.has_value());
    t_.add("tray: update " + TipText(look) + " mark=" + MarkText(look.mark) + RefusedText(refused));
    throwIfAsked();
    if (!refused) {
        icon->look = look;
    }
    return !refused;
}

bool FakeTray::remove() {
    const bool refused = refuses(!icon.has_value());
    t_.add("tray: remove" + RefusedText(refused));
    throwIfAsked();
    icon.reset();
    return !refused;
}

void FakeTray::appear() {
    present = true;
    icon.reset();
    t_.add("tray: appears");
    if (appeared_) {
        appeared_();
    }
}

void FakeTray::disappear() {
    present = false;
    icon.reset();
    t_.add("tray: gone");
}

std::string MarkText(const platform::TrayMark& mark) {
    using Kind = platform::TrayMark::Kind;
    switch (mark.kind) {
        case Kind::NewMail:
            return "new-mail(" + std::to_string(mark.count) + ")";
        case Kind::Error:
            return "error";
        case Kind::Paused:
            return "paused";
        case Kind::None:
            break;
    }
    return "none";
}

// ---- desktop notifications

bool FakeNotifier::notify(const platform::DesktopNotice& notice) {
    std::string body = notice.body;
    for (std::size_t at = body.find('\n'); at != std::string::npos; at = body.find('\n', at)) {
        body.replace(at, 1, " / ");
    }
    t_.add("notify " + notice.summary + " | " + body + (missing ? " refused" : ""));
    if (missing) {
        return false;
    }
    shown.push_back(notice);
    return true;
}

// ---- other programs' windows

platform::WindowHandle FakeWindows::foregroundWindow() {
    t_.add("foreground -> " + Hex(foreground));
    return foreground;
}

platform::Point FakeWindows::cursorPos() {
    t_.add("pointer -> " + PointText(cursor));
    return cursor;
}

platform::WindowHandle FakeWindows::windowFromPoint(platform::Point point) {
    t_.add("window at " + PointText(point) + " -> " + Hex(underCursor));
    return underCursor;
}

platform::WindowHandle FakeWindows::parent(platform::WindowHandle window) {
    platform::WindowHandle result = 0;
    const auto it = windows.find(window);
    if (it != windows.end() && it->second.alive) {
        result = it->second.parent;
    }
    t_.add("parent of " + Hex(window) + " -> " + Hex(result));
    return result;
}

bool FakeWindows::isWindow(platform::WindowHandle window) {
    const auto it = windows.find(window);
    const bool alive = it != windows.end() && it->second.alive;
    t_.add("window " + Hex(window) + " exists -> " + YesNo(alive));
    return alive;
}

std::optional<std::string> FakeWindows::windowText(platform::WindowHandle window) {
    const auto it = windows.find(window);
    if (it == windows.end() || !it->second.alive || it->second.unreadable) {
        t_.add("title " + Hex(window) + " -> failed");
        return std::nullopt;
    }
    t_.add("title " + Hex(window) + " -> " + Quoted(it->second.title));
    return it->second.title;
}

bool FakeWindows::setWindowText(platform::WindowHandle window, std::string_view text) {
    const auto it = windows.find(window);
    const bool alive = it != windows.end() && it->second.alive;
    t_.add("title " + Hex(window) + " := " + Quoted(text) + (alive ? "" : " failed"));
    if (alive) {
        it->second.title = std::string(text);
        titlesWritten[window].push_back(std::string(text));
    }
    return alive;
}

bool FakeWindows::flash(platform::WindowHandle window, int times) {
    const auto it = windows.find(window);
    const bool alive = it != windows.end() && it->second.alive;
    t_.add("flash " + Hex(window) + " " + std::to_string(times) + " times");
    return alive;
}

void FakeWindows::add(platform::WindowHandle handle, std::string title,
                      platform::WindowHandle parentWindow) {
    windows[handle] = Window{std::move(title), parentWindow, true};
}

std::string FakeWindows::titleOf(platform::WindowHandle handle) const {
    const auto it = windows.find(handle);
    return it == windows.end() ? std::string() : it->second.title;
}

// ---- connection, player, file dialog, mail

std::uint32_t FakeConnection::connectedState() {
    std::uint32_t result = flags;
    if (!nextFlags.empty()) {
        result = nextFlags.front();
        nextFlags.pop_front();
    }
    t_.add("connection -> " + Hex(result));
    return result;
}

void FakePlayer::load(std::string_view path) {
    t_.add("sound load " + Quoted(path));
    fileName = std::string(path);
    open = true;
    playing = false;
}

void FakePlayer::play(std::string_view path) {
    t_.add("sound play " + Quoted(path));
    fileName = std::string(path);
    open = true;
    playing = true;
}

void FakePlayer::stop() {
    t_.add("sound stop");
    open = false;
    playing = false;
}

namespace {

class FakeFileDialog : public platform::FileDialog {
  public:
    FakeFileDialog(Transcript& t, std::deque<std::optional<std::string>>& choices)
        : t_(t), choices_(choices) {}
    void setFilter(std::string_view filter) override {
        t_.add("file dialog filter = " + std::string(filter));
    }
    void showOpen() override {
        std::optional<std::string> choice;
        if (!choices_.empty()) {
            choice = choices_.front();
            choices_.pop_front();
        }
        t_.add("file dialog open -> " + (choice ? *choice : std::string("cancelled")));
        if (choice) {
            fileName_ = *choice;
        }
    }
    std::string fileName() override { return fileName_; }

  private:
    Transcript& t_;
    std::deque<std::optional<std::string>>& choices_;
    std::string fileName_;
};

}  // namespace

std::unique_ptr<platform::FileDialog> FakeFileDialogs::createFileDialog() {
    return std::make_unique<FakeFileDialog>(t_, choices);
}

platform::MailReply FakeMail::RcvMail(const std::string& host, const std::string& user,
                                      const std::string& password, const std::string& command,
                                      const std::string& saveDir) {
    // The transcript never holds a password: it says only whether one came.
    const char* said = password.empty() ? "[no password]" : "[password]";
    t_.add("RcvMail " + host + " " + user + " " + said + " " + command + " " + saveDir);
    passwords.push_back(password);
    return Reply(command);
}

platform::MailReply FakeMail::RcvMailOAuth2(const std::string& host, const std::string& user,
                                            const std::string& accessToken,
                                            const std::string& command,
                                            const std::string& saveDir) {
    t_.add("RcvMailOAuth2 " + host + " " + user + " [access token] " + command + " " + saveDir);
    accessTokens.push_back(accessToken);
    return Reply(command);
}

platform::MailReply FakeMail::Reply(const std::string& command) {
    commands.push_back(command);
    if (missing) {
        throw platform::MailLibraryMissing("the mail library popmail cannot be loaded");
    }
    if (duringCall) {
        duringCall();
    }
    if (!replies.empty()) {
        platform::MailReply reply = replies.front();
        replies.pop_front();
        return reply;
    }
    if (answer) {
        return answer(command);
    }
    return platform::MailReply::Text("no reply scripted for " + command);
}

namespace {

std::string KindName(platform::TokenCommandOutcome::Kind kind) {
    using Kind = platform::TokenCommandOutcome::Kind;
    switch (kind) {
        case Kind::Token:
            return "Token";
        case Kind::NotStarted:
            return "NotStarted";
        case Kind::Failed:
            return "Failed";
        case Kind::TimedOut:
            return "TimedOut";
        case Kind::NoOutput:
            return "NoOutput";
        case Kind::TooLong:
            return "TooLong";
    }
    return "?";
}

}  // namespace

platform::TokenCommandOutcome FakeTokenCommand::Run(const std::string& commandLine,
                                                    std::chrono::milliseconds limit) {
    platform::TokenCommandOutcome outcome;
    outcome.errorOutput = "no outcome scripted";
    if (!outcomes.empty()) {
        outcome = outcomes.front();
        outcomes.pop_front();
    }
    t_.add("token command `" + commandLine + "` limit=" + std::to_string(limit.count()) + "ms -> " +
           KindName(outcome.kind));
    return outcome;
}

platform::TokenCommandOutcome FakeTokenCommand::Printing(const std::string& token) {
    platform::TokenCommandOutcome outcome;
    outcome.kind = platform::TokenCommandOutcome::Kind::Token;
    outcome.token = token;
    return outcome;
}

platform::TokenCommandOutcome FakeTokenCommand::Ending(platform::TokenCommandOutcome::Kind kind,
                                                       const std::string& errorOutput, int status) {
    platform::TokenCommandOutcome outcome;
    outcome.kind = kind;
    outcome.errorOutput = errorOutput;
    outcome.exitStatus = status;
    return outcome;
}

// ---- session autostart

bool FakeAutostart::registered() {
    const bool ours = entry == Entry::Ours;
    t_.add(std::string("autostart? -> ") + (ours ? "true" : "false"));
    return ours;
}

platform::AutostartOutcome FakeAutostart::add() {
    return change("add", Entry::Ours);
}

platform::AutostartOutcome FakeAutostart::remove() {
    // Another program's entry is never taken away.
    return change("remove", entry == Entry::Ours ? Entry::None : entry);
}

platform::AutostartOutcome FakeAutostart::change(const char* what, Entry after) {
    if (refuse) {
        t_.add(std::string("autostart ") + what + " refused");
        return platform::AutostartOutcome::Failed(*refuse);
    }
    t_.add(std::string("autostart ") + what);
    entry = after;
    return platform::AutostartOutcome::Done();
}

// ---- everything together

FakePlatform::FakePlatform()
    : platform_{app,  files,        diagnostics, profile,  ui,
                tray, windows,      connection,  player,   fileDialogs,
                mail, tokenCommand, clock,       notifier, autostart} {}

bool FakePlatform::tick(const std::string& timerName) {
    FakeTimer* timer = ui.timer(timerName);
    if (timer == nullptr) {
        throw std::logic_error("no timer " + timerName);
    }
    return timer->fire();
}

void FakePlatform::trayAction(platform::TrayAction action) {
    if (!tray.icon) {
        return;  // no icon, nothing to click on
    }
    if (FakeForm* form = ui.formByHandle(tray.icon->owner)) {
        form->events().TrayActivated(action);
    }
}

}  // namespace vantorel::fake
