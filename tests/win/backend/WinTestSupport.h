#pragma once
// Helpers for the backend tests under Wine: a window of the test's own, a
// message pump with a deadline, a folder removed afterwards.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/WindowFramework.h"

namespace vantorel::win32::test {

// Dispatches messages until `done` says so or `limit` has passed; returns
// whether `done` came true.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

// Dispatches what is queued now.
void PumpPending();

// The first visible top-level window of class `className` (and with
// `caption`, unless null) that belongs to `process`, other than `except`.
// Tests run side by side on one desktop: each must find its own windows,
// never another test's.
HWND FindWindowOfProcess(DWORD process, const wchar_t* className, const wchar_t* caption = nullptr,
                         HWND except = nullptr);

// A plain top-level window of the test's own, with a title.
class TestWindow {
  public:
    explicit TestWindow(const std::wstring& title, HWND owner = nullptr,
                        DWORD style = WS_OVERLAPPEDWINDOW);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND handle() const { return window_; }

  private:
    HWND window_ = nullptr;
};

// Records every form event as a line: "Click 12", "CheckBoxClick 3",
// "CloseRequested CloseBox", "TrayActivated MenuRequested".
class RecordingEvents : public platform::FormEvents {
  public:
    void Click(platform::ControlId control) override;
    void CheckBoxClick(platform::ControlId control) override;
    void CloseRequested(platform::CloseReason reason) override;
    void TrayActivated(platform::TrayAction action) override;

    std::vector<std::string> lines;
    std::function<void(const std::string&)> onEvent;
};

// A fresh folder under the temporary folder, removed with the object.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // The path as UTF-8 text, as the program's interfaces take it.
    std::string file(const std::string& name) const;

  private:
    std::filesystem::path path_;
};

}  // namespace vantorel::win32::test
