// The X connection underneath: a borrowed one is used for requests only,
// and trapped errors are told apart from everyone else's.

#include <gtest/gtest.h>

#include "platform/qt/x11/ErrorTrap.h"
#include "x11/TestWindows.h"

#include <X11/Xatom.h>

namespace vantorel::x11::test {
namespace {

constexpr Window kNobodysWindow = 0x1FFFFFF0;

int errorsSeenByOwner = 0;
int CountError(Display*, XErrorEvent*) {
    ++errorsSeenByOwner;
    return 0;
}

void FailAsynchronously(Display* display) {
    XChangeProperty(display, kNobodysWindow, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>("x"), 1);
}

// A connection the test owns, with its own error handler, as Qt has.
class ConnectionTest : public BareServerTest {
  protected:
    void SetUp() override {
        BareServerTest::SetUp();
        owner = XOpenDisplay(server->displayName().c_str());
        ASSERT_NE(owner, nullptr);
        errorsSeenByOwner = 0;
        ownersHandler = XSetErrorHandler(&CountError);
    }
    void TearDown() override {
        XSetErrorHandler(ownersHandler);
        if (owner != nullptr) {
            XCloseDisplay(owner);
        }
        BareServerTest::TearDown();
    }

    Display* owner = nullptr;
    XErrorHandler ownersHandler = nullptr;
};

TEST_F(ConnectionTest, ABorrowedConnectionIsUsedForRequestsOnly) {
    const Window window =
        XCreateSimpleWindow(owner, DefaultRootWindow(owner), 0, 0, 10, 10, 0, 0, 0);
    XSelectInput(owner, window, PropertyChangeMask);
    XSync(owner, False);
    {
        XlibWindows borrowed(owner, clock.scheduler());
        EXPECT_TRUE(borrowed.setWindowText(window, "新着メール"));
        EXPECT_EQ(borrowed.windowText(window), "新着メール");
        EXPECT_FALSE(borrowed.setWindowText(kNobodysWindow, "x"));
        EXPECT_EQ(borrowed.parent(kNobodysWindow), 0u);
    }
    // The events its owner asked for are still there for the owner to read,
    // the errors were ours alone, and the connection is still open.
    XEvent event{};
    EXPECT_TRUE(XCheckTypedWindowEvent(owner, window, PropertyNotify, &event));
    EXPECT_EQ(errorsSeenByOwner, 0);
    XSync(owner, False);
    EXPECT_EQ(other->wmNameText(window), "新着メール");
}

TEST_F(ConnectionTest, ErrorsOfOtherRequestsStillReachTheHandlerThatWasThere) {
    FailAsynchronously(owner);  // before the trap: not its business
    {
        ErrorTrap trap(owner);
        XWindowAttributes attributes{};
        XGetWindowAttributes(owner, DefaultRootWindow(owner), &attributes);
        EXPECT_FALSE(trap.failedAfterSync());
    }
    EXPECT_EQ(errorsSeenByOwner, 1);

    {
        ErrorTrap outer(owner);
        FailAsynchronously(owner);
        {
            ErrorTrap inner(owner);
            EXPECT_FALSE(inner.failed());
            FailAsynchronously(owner);
            EXPECT_TRUE(inner.failedAfterSync());
        }
        EXPECT_TRUE(outer.failedAfterSync());
    }
    EXPECT_EQ(errorsSeenByOwner, 1);
    EXPECT_EQ(XSetErrorHandler(&CountError), &CountError);  // put back after the traps
}

}  // namespace
}  // namespace vantorel::x11::test
