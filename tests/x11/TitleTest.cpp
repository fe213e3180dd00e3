// Titles of other programs' windows on a real X server: read, written to
// both name properties, and restored exactly as they were.

#include <gtest/gtest.h>

#include <clocale>

#include "x11/TestWindows.h"

#include <X11/Xatom.h>

namespace vantorel::x11::test {
namespace {

class TitleTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        window = other->create(10, 10, 300, 200);
        other->show(window);
    }
    void TearDown() override {
        DesktopTest::TearDown();
        std::setlocale(LC_ALL, "C");
    }

    // WM_NAME as a program sets it from UTF-8 in the given style.
    void setWmNameInStyle(const std::string& utf8, XICCEncodingStyle style) {
        char* list[] = {const_cast<char*>(utf8.c_str())};
        XTextProperty text{};
        ASSERT_EQ(Xutf8TextListToTextProperty(other->display(), list, 1, style, &text), Success);
        XSetWMName(other->display(), window, &text);
        XFree(text.value);
        XSync(other->display(), False);
    }

    Atom atom(const char* name) const { return other->atom(name); }

    Window window = 0;
};

TEST_F(TitleTest, TheTitleIsReadWholeFromNetWmName) {
    std::string longTitle;
    for (int i = 0; i < 100; ++i) {
        longTitle += "受信箱";  // 900 bytes, far beyond the 255 of a short buffer
    }
    other->setNetWmName(window, longTitle);
    other->setText(window, "WM_NAME", XA_STRING, "legacy");
    EXPECT_EQ(windows->windowText(window), longTitle);
}

TEST_F(TitleTest, WithoutNetWmNameTheTitleComesFromWmNameInItsEncoding) {
    other->setText(window, "WM_NAME", XA_STRING, "Caf\xE9 cr\xE8me");  // Latin-1
    EXPECT_EQ(windows->windowText(window), "Café crème");

    setWmNameInStyle("メール 到着", XCompoundTextStyle);
    EXPECT_EQ(other->property(window, "WM_NAME")->type, atom("COMPOUND_TEXT"));
    EXPECT_EQ(windows->windowText(window), "メール 到着");

    other->setText(window, "WM_NAME", atom("UTF8_STRING"), "件名");
    EXPECT_EQ(windows->windowText(window), "件名");

    other->setNetWmName(window, "");  // empty: not a title
    EXPECT_EQ(windows->windowText(window), "件名");
}

TEST_F(TitleTest, AWindowWithoutNameHasAnEmptyTitle) {
    EXPECT_EQ(windows->windowText(window), "");
}

TEST_F(TitleTest, WritingSetsBothNameProperties) {
    ASSERT_TRUE(windows->setWindowText(window, "3通メールが来ています。"));
    const auto netWmName = other->property(window, "_NET_WM_NAME");
    ASSERT_TRUE(netWmName);
    EXPECT_EQ(netWmName->type, atom("UTF8_STRING"));
    EXPECT_EQ(netWmName->bytes, "3通メールが来ています。");
    EXPECT_EQ(other->wmNameText(window), "3通メールが来ています。");
    EXPECT_EQ(windows->windowText(window), "3通メールが来ています。");

    // What Latin-1 holds is written as ICCCM's STRING.
    ASSERT_TRUE(windows->setWindowText(window, "Café"));
    const auto wmName = other->property(window, "WM_NAME");
    ASSERT_TRUE(wmName);
    EXPECT_EQ(wmName->type, XA_STRING);
    EXPECT_EQ(wmName->bytes, "Caf\xE9");
}

TEST_F(TitleTest, BrokenUtf8IsWrittenAsValidUtf8) {
    ASSERT_TRUE(windows->setWindowText(window, "bad \xFF byte"));
    EXPECT_EQ(other->property(window, "_NET_WM_NAME")->bytes, "bad \xEF\xBF\xBD byte");
}

// The tests run in the C locale; the program runs in the user's.
TEST_F(TitleTest, JapaneseTitlesSurviveAUtf8Locale) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    ASSERT_TRUE(windows->setWindowText(window, "新着 📧"));
    EXPECT_EQ(other->wmNameText(window), "新着 📧");
    other->setNetWmName(window, "");
    EXPECT_EQ(windows->windowText(window), "新着 📧");
}

TEST_F(TitleTest, RestoringPutsBackExactlyWhatWasThereIncludingAnAbsentNetWmName) {
    other->setText(window, "WM_NAME", XA_STRING, "R\xE9sum\xE9.txt - Editor");
    const std::string saved = windows->windowText(window).value_or("?");
    EXPECT_EQ(saved, "Résumé.txt - Editor");

    ASSERT_TRUE(windows->setWindowText(window, "1通目:件名 テスト"));
    ASSERT_TRUE(other->property(window, "_NET_WM_NAME"));
    ASSERT_TRUE(windows->setWindowText(window, saved));

    EXPECT_FALSE(other->property(window, "_NET_WM_NAME"));
    const auto wmName = other->property(window, "WM_NAME");
    ASSERT_TRUE(wmName);
    EXPECT_EQ(wmName->type, XA_STRING);
    EXPECT_EQ(wmName->format, 8);
    EXPECT_EQ(wmName->bytes, "R\xE9sum\xE9.txt - Editor");
}

TEST_F(TitleTest, RestoringKeepsTwoDifferentNamesAndTheirTypes) {
    other->setNetWmName(window, "端末 — ~/src");
    setWmNameInStyle("端末", XCompoundTextStyle);
    const auto before = other->property(window, "WM_NAME");
    const std::string saved = windows->windowText(window).value_or("?");
    EXPECT_EQ(saved, "端末 — ~/src");

    ASSERT_TRUE(windows->setWindowText(window, "2通メールが来ています。"));
    ASSERT_TRUE(windows->setWindowText(window, saved));

    EXPECT_EQ(other->property(window, "_NET_WM_NAME")->bytes, "端末 — ~/src");
    const auto after = other->property(window, "WM_NAME");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->type, atom("COMPOUND_TEXT"));
    EXPECT_EQ(after->bytes, before->bytes);
}

TEST_F(TitleTest, RestoringAnUntitledWindowRemovesBothNames) {
    const std::string saved = windows->windowText(window).value_or("?");
    ASSERT_TRUE(windows->setWindowText(window, "新着メール"));
    ASSERT_TRUE(windows->setWindowText(window, saved));
    EXPECT_FALSE(other->property(window, "_NET_WM_NAME"));
    EXPECT_FALSE(other->property(window, "WM_NAME"));
}

TEST_F(TitleTest, TheSavedTitleOfOneWindowIsNotRestoredIntoAnother) {
    other->setText(window, "WM_NAME", XA_STRING, "Caf\xE9");
    const std::string saved = windows->windowText(window).value_or("?");
    const Window second = other->create(400, 10, 300, 200);
    other->show(second);

    ASSERT_TRUE(windows->setWindowText(second, saved));
    EXPECT_EQ(other->property(second, "_NET_WM_NAME")->bytes, "Café");
    EXPECT_EQ(other->wmNameText(second), "Café");
}

}  // namespace
}  // namespace vantorel::x11::test
