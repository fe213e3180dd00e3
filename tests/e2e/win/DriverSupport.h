#pragma once
// What the Windows end-to-end driver does as a user would: start programs,
// wait for windows, open the tray menu and choose from it, read and close
// message boxes, take screenshots, and keep a transcript of every stage.

#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantorel::e2e {

using namespace std::chrono_literals;

// A required stage that did not come: the scenario stops there.
struct StageFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Every stage as a line, on standard output and in OUT_DIR\transcript.txt;
// screenshots of the whole screen as OUT_DIR\<scenario>-<name>.bmp.
class Transcript {
  public:
    Transcript(std::wstring outDir, std::string scenario);
    void step(const std::string& text);
    void note(const std::string& text);
    // Records a failed check; the scenario goes on.
    void check(bool ok, const std::string& what);
    void shot(const std::string& name);
    // A screenshot of a part of the screen only.
    void shotOf(const std::string& name, const RECT& area);
    // A required stage: waits for it; one that does not come is shown in a
    // screenshot and throws StageFailed(what).
    void expect(const std::function<bool()>& done, std::chrono::milliseconds limit,
                const std::string& what);
    bool failed() const { return failed_; }

  private:
    void write(const std::string& line);
    std::wstring outDir_;
    std::string scenario_;
    bool failed_ = false;
};

// True once `done` says so, polling until `limit` has passed.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);
// As WaitFor, but a stage that does not come throws StageFailed(what).
void Expect(const std::function<bool()>& done, std::chrono::milliseconds limit,
            const std::string& what);

std::string WindowTitle(HWND window);
std::wstring EnvironmentValue(const wchar_t* name);
std::string ReadFileBytes(const std::wstring& path);

// A program started by the driver, stopped with the object if still running.
class Process {
  public:
    Process(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD id() const { return info_.dwProcessId; }
    // Its first top-level window of this class, or nullptr.
    HWND window(const wchar_t* className) const;
    // Its visible message boxes and dialogs other than `except`.
    std::vector<HWND> visibleDialogs(HWND except) const;
    // True when it ended within `limit`; its exit code in `code`.
    bool endsWithin(std::chrono::milliseconds limit, DWORD* code) const;

  private:
    PROCESS_INFORMATION info_{};
};

// The texts of a message box's labels, joined by new lines.
std::string BoxText(HWND box);
// Presses the box's OK button.
void PressOk(HWND box);

// Opens the tray menu as a right-button press on the icon does and chooses
// an item with the keyboard: `presses` of `arrow`, then Enter. With Enter
// false the menu is left open.
void ChooseFromTrayMenu(HWND programWindow, WPARAM arrow, int presses, bool enter = true);
HWND OpenMenu();

// The pixels shown in a part of the screen now (empty when unreadable), to
// tell whether what is drawn there changed.
std::string ScreenPixels(const RECT& area);

}  // namespace vantorel::e2e
