#pragma once
// The window framework on Qt Widgets: windows built from their layout
// data, timers, message boxes. Every event the program handles passes
// through raise(), which keeps a failure of the program from unwinding
// through Qt.

#include <QIcon>
#include <functional>
#include <map>
#include <memory>

#include "platform/AppInfo.h"
#include "platform/WindowFramework.h"

class QWidget;

namespace vantorel::qt {

class QtForm;

class QtWindowFramework : public platform::WindowFramework {
  public:
    explicit QtWindowFramework(platform::Diagnostics& diagnostics);
    ~QtWindowFramework() override;
    QtWindowFramework(const QtWindowFramework&) = delete;
    QtWindowFramework& operator=(const QtWindowFramework&) = delete;

    std::unique_ptr<platform::Form> createForm(const platform::FormLayout& layout,
                                               platform::FormEvents& events) override;
    std::unique_ptr<platform::Timer> createTimer(std::string_view name,
                                                 std::function<void()> onTick) override;
    // Also writes the text to standard error.
    void messageBox(std::string_view text, std::string_view caption,
                    platform::MessageIcon icon) override;
    void quit() override;

    // Pixels for a length in twips at the screen's logical resolution.
    int pixels(int twips) const;

    // Runs one event of the program. A failure that the program did not
    // handle is reported on standard error and in a box, and ends the
    // program, as an unhandled error does on the platform it was made for.
    void raise(const std::function<void()>& event);

    // The open window with that handle, or nullptr.
    QtForm* formByHandle(platform::WindowHandle handle) const;

    // The icon image behind a form's icon handle (the program's icon for
    // one that is not known). The same QIcon every time, so that what Qt
    // caches for it is made once.
    QIcon iconFor(platform::IconHandle icon) const;

    // The main window (the first open window that is not a small window of
    // another), or nullptr.
    QWidget* mainWindow() const;

    // Asks every open window to close because the session ends.
    void endSession();

    // Forms tell the framework when they come and go.
    void registerForm(QtForm* form);
    void forgetForm(QtForm* form);

  private:
    void reportUnhandled(const std::string& what);

    platform::Diagnostics& diagnostics_;
    std::vector<QtForm*> forms_;
    bool failing_ = false;
    mutable QIcon programIcon_;  // made at the first iconFor
};

}  // namespace vantorel::qt
