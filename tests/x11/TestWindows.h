#pragma once
// What the X11 tests share: another program's windows made with Xlib on a
// connection of its own, a clock the test advances by hand, and fixtures
// that give each test a fresh X server.

// gtest first: Xlib's None macro breaks its headers.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/x11/XlibWindows.h"
#include "x11/XServer.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vantorel::x11::test {

// A property as the server holds it (8-bit data as bytes).
struct Property {
    Atom type = 0;
    int format = 0;
    std::string bytes;
    std::vector<long> longs;
};

class OtherProgram {
  public:
    OtherProgram(const std::string& displayName, bool managed);
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    Display* display() const { return display_; }
    Window root() const { return DefaultRootWindow(display_); }
    Atom atom(const char* name) const;

    Window create(int x, int y, int width, int height, Window parent = 0);
    // Maps the window and waits until it is shown (and managed, when a
    // window manager runs).
    void show(Window window);
    void destroy(Window window);

    void setText(Window window, const char* property, Atom type, const std::string& bytes);
    void setNetWmName(Window window, const std::string& utf8);
    void setTransientFor(Window window, Window owner);
    std::optional<Property> property(Window window, const char* name) const;
    // WM_NAME as text, however it is encoded.
    std::string wmNameText(Window window) const;

    // Asks the window manager to activate the window and waits until it has.
    void activate(Window window);
    Window activeWindow() const;
    void warpPointer(int x, int y);
    // The window's top-left corner on the root.
    std::pair<int, int> rootPosition(Window window) const;
    // Waits up to a few seconds; false when `condition` never held.
    bool waitFor(const std::function<bool()>& condition) const;

  private:
    Window parentOf(Window window) const;

    Display* display_;
    bool managed_;
};

// Scheduled tasks wait until the test runs them.
class ManualClock {
  public:
    XlibWindows::Scheduler scheduler();
    // Runs the tasks scheduled so far (those they schedule wait); returns
    // how many ran.
    int runDue();
    std::vector<int> delays() const;

  private:
    std::vector<std::pair<int, std::function<void()>>> due_;
};

class X11Test : public ::testing::Test {
  protected:
    explicit X11Test(XServer::WindowManager manager) : manager_(manager) {}
    void SetUp() override;
    void TearDown() override;

    ManualClock clock;
    std::unique_ptr<XServer> server;
    std::unique_ptr<OtherProgram> other;
    std::unique_ptr<XlibWindows> windows;  // the code under test

  private:
    XServer::WindowManager manager_;
};

// With openbox managing the windows.
class DesktopTest : public X11Test {
  protected:
    DesktopTest() : X11Test(XServer::WindowManager::Openbox) {}
};

// A bare X server without a window manager.
class BareServerTest : public X11Test {
  protected:
    BareServerTest() : X11Test(XServer::WindowManager::Absent) {}
};

}  // namespace vantorel::x11::test
