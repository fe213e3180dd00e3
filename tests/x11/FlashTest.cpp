// Caption flashes on a real X server with openbox: the urgency flag of
// WM_HINTS and _NET_WM_STATE_DEMANDS_ATTENTION, set and ended again.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "x11/TestWindows.h"

#include <X11/Xatom.h>

namespace vantorel::x11::test {
namespace {

constexpr int kThreeBlinks = 3;

class FlashTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        target = other->create(10, 10, 300, 200);
        elsewhere = other->create(400, 10, 300, 200);
    }

    void showBoth() {
        other->show(target);
        other->show(elsewhere);
        other->activate(elsewhere);
    }

    // Hints a program might set: every field but urgency means something.
    void setOwnHints(bool urgent) {
        XWMHints hints{};
        hints.flags = InputHint | StateHint | IconPositionHint | WindowGroupHint;
        hints.input = True;
        hints.initial_state = NormalState;
        hints.icon_x = 7;
        hints.icon_y = 9;
        hints.window_group = target;
        if (urgent) {
            hints.flags |= XUrgencyHint;
        }
        XSetWMHints(other->display(), target, &hints);
        XSync(other->display(), False);
    }

    // WM_HINTS as the window's program would read it; flags 0 when absent.
    XWMHints hintsOf(Window window) const {
        XWMHints result{};
        if (XWMHints* hints = XGetWMHints(other->display(), window)) {
            result = *hints;
            XFree(hints);
        }
        return result;
    }

    bool urgent() const { return (hintsOf(target).flags & XUrgencyHint) != 0; }

    bool demandsAttention() const {
        const auto state = other->property(target, "_NET_WM_STATE");
        const auto wanted = static_cast<long>(other->atom("_NET_WM_STATE_DEMANDS_ATTENTION"));
        return state &&
               std::find(state->longs.begin(), state->longs.end(), wanted) != state->longs.end();
    }

    void expectOwnHintsKept() const {
        const XWMHints hints = hintsOf(target);
        EXPECT_EQ(hints.flags & ~XUrgencyHint,
                  InputHint | StateHint | IconPositionHint | WindowGroupHint);
        EXPECT_EQ(hints.input, True);
        EXPECT_EQ(hints.initial_state, NormalState);
        EXPECT_EQ(hints.icon_x, 7);
        EXPECT_EQ(hints.icon_y, 9);
        EXPECT_EQ(hints.window_group, target);
    }

    Window target = 0;
    Window elsewhere = 0;
};

TEST_F(FlashTest, ThreeBlinksSetTheUrgencyFlagKeepingTheOtherHintsThenClearIt) {
    setOwnHints(false);
    showBoth();

    ASSERT_TRUE(windows->flash(target, kThreeBlinks));
    EXPECT_TRUE(urgent());
    expectOwnHintsKept();
    EXPECT_TRUE(other->waitFor([&] { return demandsAttention(); }));
    EXPECT_EQ(clock.delays(), std::vector<int>{500});

    EXPECT_EQ(clock.runDue(), 1);
    EXPECT_EQ(clock.runDue(), 1);
    EXPECT_TRUE(urgent());
    EXPECT_EQ(clock.runDue(), 1);  // the third blink ends it
    EXPECT_FALSE(urgent());
    expectOwnHintsKept();
    EXPECT_TRUE(other->waitFor([&] { return !demandsAttention(); }));
    EXPECT_EQ(clock.runDue(), 0);
}

TEST_F(FlashTest, AFlagTheProgramSetItselfIsLeftOn) {
    setOwnHints(true);
    showBoth();

    EXPECT_TRUE(windows->flash(target, kThreeBlinks));
    while (clock.runDue() > 0) {
    }
    EXPECT_TRUE(urgent());
    expectOwnHintsKept();
}

TEST_F(FlashTest, TheFlashEndsWhenTheWindowBecomesActive) {
    setOwnHints(false);
    showBoth();
    ASSERT_TRUE(windows->flash(target, kThreeBlinks));

    other->activate(target);
    EXPECT_EQ(clock.runDue(), 1);
    EXPECT_FALSE(urgent());
    expectOwnHintsKept();
    EXPECT_EQ(clock.runDue(), 0);
}

TEST_F(FlashTest, TheActiveWindowIsNotFlashed) {
    setOwnHints(false);
    showBoth();
    other->activate(target);

    EXPECT_FALSE(windows->flash(target, kThreeBlinks));
    EXPECT_FALSE(urgent());
    EXPECT_EQ(clock.runDue(), 0);
}

TEST_F(FlashTest, HintsThatWereAbsentAreAbsentAgainAfterwards) {
    showBoth();
    ASSERT_TRUE(windows->flash(target, kThreeBlinks));
    EXPECT_EQ(hintsOf(target).flags, XUrgencyHint);
    while (clock.runDue() > 0) {
    }
    EXPECT_FALSE(other->property(target, "WM_HINTS"));
}

TEST_F(FlashTest, ASecondFlashStartsTheCountAgain) {
    setOwnHints(false);
    showBoth();
    ASSERT_TRUE(windows->flash(target, kThreeBlinks));
    EXPECT_EQ(clock.runDue(), 1);

    ASSERT_TRUE(windows->flash(target, 2));
    EXPECT_EQ(clock.runDue(), 2);  // the first flash's blink finds nothing to do
    EXPECT_TRUE(urgent());
    EXPECT_EQ(clock.runDue(), 1);  // the second blink of the second flash ends it
    EXPECT_FALSE(urgent());
    expectOwnHintsKept();
    EXPECT_EQ(clock.runDue(), 0);
}

TEST_F(FlashTest, ManyTimesLastsAMinuteAtMostAndFewerThanOnceIsOnce) {
    showBoth();
    ASSERT_TRUE(windows->flash(target, std::numeric_limits<int>::max()));
    int blinks = 0;
    while (clock.runDue() > 0) {
        ++blinks;
    }
    EXPECT_EQ(blinks, 120);  // 60 s of 500 ms blinks
    EXPECT_FALSE(urgent());

    for (const int times : {0, -1}) {
        ASSERT_TRUE(windows->flash(target, times));
        EXPECT_TRUE(urgent());
        EXPECT_EQ(clock.runDue(), 1);
        EXPECT_FALSE(urgent());
        EXPECT_EQ(clock.runDue(), 0);
    }
}

TEST_F(FlashTest, AWindowNotShownGetsTheFlagOnly) {
    EXPECT_TRUE(windows->flash(target, kThreeBlinks));
    EXPECT_TRUE(urgent());
    EXPECT_FALSE(demandsAttention());
    while (clock.runDue() > 0) {
    }
    EXPECT_FALSE(urgent());
}

TEST_F(FlashTest, AWindowThatVanishesDuringTheFlashEndsIt) {
    showBoth();
    ASSERT_TRUE(windows->flash(target, kThreeBlinks));
    other->destroy(target);
    EXPECT_EQ(clock.runDue(), 1);
    EXPECT_EQ(clock.runDue(), 0);
    EXPECT_FALSE(windows->isWindow(target));
}

TEST_F(FlashTest, EndingTheProgramEndsItsFlashes) {
    setOwnHints(false);
    showBoth();
    ASSERT_TRUE(windows->flash(target, kThreeBlinks));

    windows.reset();
    EXPECT_FALSE(urgent());
    expectOwnHintsKept();
    EXPECT_EQ(clock.runDue(), 1);  // a late blink of the ended object does nothing
}

}  // namespace
}  // namespace vantorel::x11::test
