// Finding other programs' windows on a real X server: the active one, the
// one under the pointer, parents and owners, and windows that vanish.

#include <gtest/gtest.h>

#include "x11/TestWindows.h"

namespace vantorel::x11::test {
namespace {

using platform::Point;
using platform::WindowHandle;

constexpr int kWidth = 300;
constexpr int kHeight = 200;

TEST_F(DesktopTest, TheActiveWindowIsTheClientTheUserWorksIn) {
    const Window first = other->create(10, 10, kWidth, kHeight);
    const Window second = other->create(400, 10, kWidth, kHeight);
    other->show(first);
    other->show(second);

    other->activate(first);
    EXPECT_EQ(windows->foregroundWindow(), first);
    other->activate(second);
    EXPECT_EQ(windows->foregroundWindow(), second);
}

TEST_F(DesktopTest, ThePointerFindsTheClientWindowNotTheFrameOrTheRoot) {
    const Window window = other->create(100, 100, kWidth, kHeight);
    const Window button = other->create(20, 20, 50, 30, window);
    other->show(button);
    other->show(window);
    const auto [x, y] = other->rootPosition(window);

    other->warpPointer(x + 30, y + 30);  // over the subwindow
    const Point pointer = windows->cursorPos();
    EXPECT_EQ(pointer.x, x + 30);
    EXPECT_EQ(pointer.y, y + 30);
    EXPECT_EQ(windows->windowFromPoint(pointer), window);

    // The title bar belongs to openbox's frame; it stands for its client.
    const auto extents = other->property(window, "_NET_FRAME_EXTENTS");
    ASSERT_TRUE(extents && extents->longs.size() == 4);
    const int titleBar = static_cast<int>(extents->longs[2]);
    ASSERT_GT(titleBar, 2);
    EXPECT_EQ(windows->windowFromPoint({x + kWidth / 2, y - titleBar / 2}), window);

    EXPECT_EQ(windows->windowFromPoint({1000, 700}), 0u);  // the bare desktop
    EXPECT_EQ(windows->windowFromPoint({-5, 5000}), 0u);   // off the screen
}

TEST_F(DesktopTest, ParentsClimbToTheClientAndOwnersButNeverToFramesOrTheRoot) {
    const Window main = other->create(10, 10, kWidth, kHeight);
    const Window panel = other->create(5, 5, 100, 100, main);
    const Window edit = other->create(5, 5, 50, 20, panel);
    const Window dialog = other->create(50, 50, 200, 100);
    other->setTransientFor(dialog, main);
    other->show(edit);
    other->show(panel);
    other->show(main);
    other->show(dialog);

    EXPECT_EQ(windows->parent(edit), main);  // nearest ancestor carrying WM_STATE
    EXPECT_EQ(windows->parent(panel), main);
    EXPECT_EQ(windows->parent(dialog), main);  // its owner
    EXPECT_EQ(windows->parent(main), 0u);      // not openbox's frame
    EXPECT_EQ(windows->parent(other->root()), 0u);
}

TEST_F(DesktopTest, OwnersThatLeadInACircleEndTheClimb) {
    const Window first = other->create(10, 10, kWidth, kHeight);
    const Window second = other->create(20, 20, kWidth, kHeight);
    const Window third = other->create(30, 30, kWidth, kHeight);
    other->setTransientFor(first, second);
    other->setTransientFor(second, third);
    other->setTransientFor(third, first);
    other->show(first);
    other->show(second);
    other->show(third);

    // Climbing as the program does always stops.
    for (const Window start : {first, second, third}) {
        WindowHandle current = start;
        int steps = 0;
        for (WindowHandle next = windows->parent(current); next != 0 && next != current;
             next = windows->parent(current)) {
            current = next;
            ASSERT_LT(++steps, 10) << "endless climb from " << start;
        }
    }
    EXPECT_EQ(windows->parent(first), 0u);  // its owner chain comes back to it
}

TEST_F(DesktopTest, AnOwnerThatIsGoneOrTheRootIsNoOwner) {
    const Window owner = other->create(10, 10, kWidth, kHeight);
    const Window dialog = other->create(20, 20, 100, 100);
    const Window groupDialog = other->create(30, 30, 100, 100);
    other->setTransientFor(dialog, owner);
    other->setTransientFor(groupDialog, other->root());
    other->show(dialog);
    other->show(groupDialog);
    other->destroy(owner);

    EXPECT_EQ(windows->parent(dialog), 0u);
    EXPECT_EQ(windows->parent(groupDialog), 0u);
}

TEST_F(DesktopTest, VanishedWindowsGiveNothingAndNeverEndTheProgram) {
    const Window window = other->create(10, 10, kWidth, kHeight);
    const Window child = other->create(5, 5, 20, 20, window);
    other->show(child);
    other->show(window);
    other->setNetWmName(window, "消える窓");
    EXPECT_TRUE(windows->isWindow(window));
    EXPECT_EQ(windows->windowText(window), "消える窓");

    other->destroy(window);  // takes the child with it
    for (const Window gone : {window, child}) {
        EXPECT_FALSE(windows->isWindow(gone));
        EXPECT_EQ(windows->parent(gone), 0u);
        EXPECT_EQ(windows->windowText(gone), std::nullopt);  // unread, not empty
        EXPECT_FALSE(windows->setWindowText(gone, "新着メール"));
        EXPECT_FALSE(windows->setWindowText(gone, "消える窓"));  // the saved title
        EXPECT_FALSE(windows->flash(gone, 3));
    }
    // Still answering afterwards.
    const Window fresh = other->create(10, 10, kWidth, kHeight);
    EXPECT_TRUE(windows->isWindow(fresh));
}

TEST_F(DesktopTest, HandlesThatNameNoWindowAreRejected) {
    EXPECT_FALSE(windows->isWindow(0));
    EXPECT_FALSE(windows->isWindow(0x1FFFFFFE));  // a resource id nobody owns
    const Window window = other->create(10, 10, kWidth, kHeight);
    // Beyond X's 29-bit ids: must not be cut down to the real window's id.
    const WindowHandle widened = (WindowHandle{1} << 32) | window;
    EXPECT_FALSE(windows->isWindow(widened));
    EXPECT_EQ(windows->windowText(widened), std::nullopt);
    EXPECT_FALSE(windows->setWindowText(widened, "x"));
    EXPECT_EQ(windows->parent(widened), 0u);
}

TEST_F(DesktopTest, AConnectionToNoServerIsRefused) {
    EXPECT_EQ(XlibWindows::open(":65000", clock.scheduler()), nullptr);
}

TEST_F(BareServerTest, WithoutAWindowManagerTheFocusAndTopLevelWindowsServe) {
    const Window main = other->create(10, 10, kWidth, kHeight);
    const Window edit = other->create(5, 5, 50, 20, main);
    other->show(edit);
    other->show(main);

    XSetInputFocus(other->display(), edit, RevertToParent, CurrentTime);
    XSync(other->display(), False);
    EXPECT_EQ(windows->foregroundWindow(), edit);
    EXPECT_EQ(windows->parent(edit), main);
    EXPECT_EQ(windows->parent(main), 0u);

    // No frames and no WM_STATE: the deepest window is found, and climbs.
    EXPECT_EQ(windows->windowFromPoint({10 + 5 + 10, 10 + 5 + 10}), edit);
    EXPECT_EQ(windows->windowFromPoint({10 + 100, 10 + 100}), main);

    XSetInputFocus(other->display(), PointerRoot, RevertToNone, CurrentTime);
    XSync(other->display(), False);
    EXPECT_EQ(windows->foregroundWindow(), 0u);
}

}  // namespace
}  // namespace vantorel::x11::test
