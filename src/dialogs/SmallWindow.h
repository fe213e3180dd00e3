#pragma once
// The program's small windows (title-bar settings, sound settings, version):
// each is shown modeless, at most one of a kind at a time, and loaded anew
// (its opening steps run again) when it is shown after it was closed.

#include <functional>
#include <memory>

#include "platform/WindowFramework.h"

namespace vantorel {

class SmallWindow : public platform::FormEvents {
  public:
    SmallWindow(const SmallWindow&) = delete;
    SmallWindow& operator=(const SmallWindow&) = delete;

    // False once the window was unloaded (its OK or its close box).
    bool isOpen() const { return !unloaded_; }

    // Puts the loaded window on the screen, in front of the others.
    void show();
    void bringToFront();

    // The close box discards what was typed: the window just goes.
    void CloseRequested(platform::CloseReason reason) override;

  protected:
    // Builds the hidden window from its layout; the derived window then runs
    // its opening steps.
    SmallWindow(platform::WindowFramework& ui, const platform::FormLayout& layout);

    platform::Form& form() { return *form_; }

    // Takes the window off the screen for good. Safe inside the window's own
    // events; the object itself is destroyed later by its WindowSlot.
    void Unload();

  private:
    std::unique_ptr<platform::Form> form_;
    bool unloaded_ = false;
};

// Where the main window keeps one kind of small window.
class WindowSlot {
  public:
    using Loader = std::function<std::unique_ptr<SmallWindow>()>;

    // Brings the window forward when it is open; otherwise loads a new one
    // with `load` and shows it. Called from the main window's menu, never
    // from inside the held window's own events, so a closed window can be
    // destroyed here.
    void show(const Loader& load);

    bool isOpen() const { return window_ != nullptr && window_->isOpen(); }

  private:
    std::unique_ptr<SmallWindow> window_;
};

}  // namespace vantorel
