#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "RecordingEvents.h"
#include "app/SettingsWindowLayout.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtWindowFramework.h"

namespace vantorel::qt::test {
namespace {

using platform::ControlKind;
using platform::ControlLayout;

class Silent : public platform::Diagnostics {
  public:
    void warn(const std::string& message) override { lines.push_back(message); }
    std::vector<std::string> lines;
};

// A small window like the version window: a picture, a label, a check box,
// and an OK button that is both default and cancel button.
platform::FormLayout SmallWindow() {
    platform::FormLayout layout;
    layout.name = "SmallWindow";
    layout.caption = "小さな窓";
    layout.clientWidth = 4440;
    layout.clientHeight = 1725;
    auto control = [](platform::ControlId id, const char* name, ControlKind kind,
                      const char* caption, int left, int top, int width, int height, int tab) {
        ControlLayout c;
        c.id = id;
        c.name = name;
        c.kind = kind;
        c.caption = caption;
        c.left = left;
        c.top = top;
        c.width = width;
        c.height = height;
        c.tabIndex = tab;
        return c;
    };
    const int none = platform::kNoTabStop;
    ControlLayout picture =
        control(1, "IconPicture", ControlKind::Picture, "", 0, 0, 480, 480, none);
    ControlLayout label =
        control(2, "ProductLabel", ControlKind::Label, "ﾊﾞｰｼﾞｮﾝ", 1080, 240, 3885, 480, none);
    ControlLayout check = control(3, "SoundCheckBox", ControlKind::CheckBox, "効果音を有効にする。",
                                  240, 120, 3615, 375, 0);
    ControlLayout ok = control(4, "OkButton", ControlKind::Button, "OK", 1560, 1200, 1310, 345, 1);
    ok.defaultButton = true;
    ok.cancelButton = true;
    layout.controls = {picture, label, check, ok};
    return layout;
}

class QtFormTest : public ::testing::Test {
  protected:
    std::unique_ptr<QtForm> make(const platform::FormLayout& layout) {
        auto form = ui.createForm(layout, events);
        return std::unique_ptr<QtForm>(static_cast<QtForm*>(form.release()));
    }

    Silent diagnostics;
    QtWindowFramework ui{diagnostics};
    RecordingEvents events;
};

TEST_F(QtFormTest, PlacesControlsAtTheirLayoutPositionsInPixels) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 96)
        << "the tests run at 96 dpi";
    auto form = make(SettingsWindowLayout());
    QWidget* host = form->widget(ctl::ServerBox);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->geometry(), QRect(16, 40, 177, 20));
    EXPECT_EQ(host->parentWidget(), form->widget(ctl::SettingsFrame)) << "inside the frame";
    EXPECT_EQ(form->widget(ctl::OkButton)->geometry(), QRect(8, 240, 88, 33));
    EXPECT_EQ(form->window()->windowTitle(), QStringLiteral("Vantorel"));
    EXPECT_FALSE(form->visible()) << "created hidden";
}

TEST_F(QtFormTest, GivesEveryControlItsCaptionToolTipAndKind) {
    auto form = make(SettingsWindowLayout());
    EXPECT_EQ(form->text(ctl::SettingsFrame), "基本設定");
    EXPECT_EQ(form->text(ctl::IntervalLabel), "確認時間間隔(分）");
    EXPECT_EQ(form->text(ctl::CancelButton), "CANCEL");
    EXPECT_EQ(form->widget(ctl::ServerBox)->toolTip(),
              QStringLiteral("POP3サーバーを指定して下さい"));
    auto* password = qobject_cast<QLineEdit*>(form->widget(ctl::PasswordBox));
    ASSERT_NE(password, nullptr);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    auto* host = qobject_cast<QLineEdit*>(form->widget(ctl::ServerBox));
    const std::string longName(40000, 'a');
    form->setText(ctl::ServerBox, longName);
    EXPECT_EQ(form->text(ctl::ServerBox), longName) << "no length limit";
    EXPECT_EQ(host->text().size(), 40000);
}

TEST_F(QtFormTest, TabOrderFollowsTheTabIndexes) {
    auto form = make(SettingsWindowLayout());
    const std::vector<platform::ControlId> expected{
        ctl::ServerBox,          ctl::UserBox,  ctl::PasswordBox, ctl::IntervalBox,
        ctl::DisplayIntervalBox, ctl::OkButton, ctl::CancelButton};
    QWidget* current = form->widget(expected.front());
    for (std::size_t i = 1; i < expected.size(); ++i) {
        current = current->nextInFocusChain();
        while (current->focusPolicy() == Qt::NoFocus) {
            current = current->nextInFocusChain();
        }
        EXPECT_EQ(current, form->widget(expected[i])) << "step " << i;
    }
}

TEST_F(QtFormTest, MenuBarShowsOptionAndAHiddenMenuLeavesIt) {
    auto form = make(SettingsWindowLayout());
    QMenu* option = form->menu(ctl::OptionMenu);
    QMenu* top = form->menu(ctl::TrayMenu);
    ASSERT_NE(option, nullptr);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(option->title(), QStringLiteral("&OPTION"));
    form->setControlVisible(ctl::TrayMenu, false);
    EXPECT_FALSE(top->menuAction()->isVisible());
    EXPECT_TRUE(option->menuAction()->isVisible());
    EXPECT_EQ(top->actions().size(), 7) << "items and separators in menu order";
    EXPECT_TRUE(top->actions()[3]->isSeparator());
    EXPECT_TRUE(form->action(ctl::Pause)->isCheckable());
    EXPECT_FALSE(form->action(ctl::OpenSettings)->isCheckable());

    EXPECT_EQ(form->window()->findChild<QMenuBar*>(), nullptr) << "the bar waits for the show";
    form->setVisible(true);
    auto* bar = form->window()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_GE(bar->actions().size(), 2);
    EXPECT_EQ(bar->actions()[0], top->menuAction()) << "the menus in layout order";
    EXPECT_EQ(bar->actions()[1], option->menuAction());
    EXPECT_FALSE(bar->actions()[0]->isVisible());
}

TEST_F(QtFormTest, UserActionsRaiseEventsAndProgramChangesRaiseNone) {
    auto form = make(SmallWindow());
    form->setChecked(3, true);
    form->setText(2, "Vantorel");
    EXPECT_TRUE(events.log.empty());
    EXPECT_TRUE(form->checked(3));

    QTest::mouseClick(form->widget(3), Qt::LeftButton);
    EXPECT_FALSE(form->checked(3));
    QTest::mouseClick(form->widget(4), Qt::LeftButton);
    EXPECT_EQ(events.log, (std::vector<std::string>{"CheckBoxClick 3", "Click 4"}));
}

TEST_F(QtFormTest, ChoosingAMenuItemLeavesItsCheckMarkToTheProgram) {
    auto form = make(SettingsWindowLayout());
    form->setChecked(ctl::ShowErrors, true);
    form->action(ctl::ShowErrors)->trigger();
    EXPECT_EQ(events.log, (std::vector<std::string>{"Click " + std::to_string(ctl::ShowErrors)}));
    EXPECT_TRUE(form->checked(ctl::ShowErrors)) << "unchanged until the command inverts it";
    form->setChecked(ctl::ShowErrors, false);
    EXPECT_FALSE(form->checked(ctl::ShowErrors));
    EXPECT_EQ(events.log.size(), 1U);
}

TEST_F(QtFormTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
    auto form = make(SmallWindow());
    form->setVisible(true);
    QTest::keyClick(form->window(), Qt::Key_Return);
    QTest::keyClick(form->window(), Qt::Key_Escape);
    EXPECT_EQ(events.log, (std::vector<std::string>{"Click 4", "Click 4"}));
}

TEST_F(QtFormTest, EscapeClosesASmallWindowWithoutACancelButtonAsItsCloseBoxWould) {
    platform::FormLayout layout = SmallWindow();
    layout.controls.back().cancelButton = false;
    layout.ownedWindow = true;
    auto form = make(layout);
    form->setVisible(true);
    QTest::keyClick(form->window(), Qt::Key_Escape);
    EXPECT_EQ(events.log, (std::vector<std::string>{"CloseRequested CloseBox"}));
    EXPECT_TRUE(form->visible()) << "the program decides, as for the close box";
}

TEST_F(QtFormTest, ASmallWindowStandsCentredOverTheMainWindowAsItsDialog) {
    RecordingEvents mainEvents;
    auto owner = ui.createForm(SettingsWindowLayout(), mainEvents);
    auto* mainWindow = static_cast<QtForm*>(owner.get())->window();
    mainWindow->move(200, 150);
    owner->setVisible(true);
    platform::FormLayout layout = SmallWindow();
    layout.ownedWindow = true;
    auto form = make(layout);
    form->setVisible(true);
    QWidget* small = form->window();
    EXPECT_EQ(small->windowType(), Qt::Dialog);
    ASSERT_NE(small->windowHandle(), nullptr);
    EXPECT_EQ(small->windowHandle()->transientParent(), mainWindow->windowHandle());
    const QPoint offset = small->frameGeometry().center() - mainWindow->frameGeometry().center();
    // Within the rounding of halving odd sizes.
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
}

TEST_F(QtFormTest, ASmallWindowWhoseOwnerIsInTheTrayIsCentredOnTheScreen) {
    RecordingEvents mainEvents;
    auto owner = ui.createForm(SettingsWindowLayout(), mainEvents);  // hidden: in the tray
    platform::FormLayout layout = SmallWindow();
    layout.ownedWindow = true;
    auto form = make(layout);
    form->setVisible(true);
    const QPoint centre = form->window()->screen()->availableGeometry().center();
    EXPECT_LE((form->window()->frameGeometry().center() - centre).manhattanLength(), 4);
}

TEST_F(QtFormTest, TheBasicSettingsWindowHasNoDefaultButton) {
    auto form = make(SettingsWindowLayout());
    form->setVisible(true);
    QTest::keyClick(form->widget(ctl::ServerBox), Qt::Key_Return);
    QTest::keyClick(form->widget(ctl::ServerBox), Qt::Key_Escape);
    EXPECT_TRUE(events.log.empty());
}

TEST_F(QtFormTest, TheCloseBoxAsksTheProgramAndTheWindowStays) {
    auto form = make(SmallWindow());
    form->setVisible(true);
    EXPECT_FALSE(form->window()->close()) << "the close is refused";
    EXPECT_EQ(events.log, (std::vector<std::string>{"CloseRequested CloseBox"}));
    EXPECT_TRUE(form->visible());
}

TEST_F(QtFormTest, AWindowMayCloseItselfInsideItsOwnEvent) {
    auto form = make(SmallWindow());
    form->setVisible(true);
    QPointer<FormWindow> window = form->window();
    events.onClick = [&](platform::ControlId) { form->close(); };
    QTest::mouseClick(form->widget(4), Qt::LeftButton);
    EXPECT_TRUE(form->isClosed());
    EXPECT_FALSE(form->visible());
    EXPECT_TRUE(WaitUntil([&] { return window.isNull(); })) << "deleted once the event is over";
    // Every call is now a no-op.
    form->setText(2, "x");
    form->setVisible(true);
    EXPECT_EQ(form->text(2), "");
    EXPECT_EQ(form->handle(), 0U);
}

TEST_F(QtFormTest, DestroyingTheFormTakesItsWindowAlong) {
    auto form = make(SmallWindow());
    QPointer<FormWindow> window = form->window();
    form.reset();
    EXPECT_TRUE(WaitUntil([&] { return window.isNull(); }));
}

TEST_F(QtFormTest, APopupMenuRunsTheChosenItemBeforeItReturns) {
    auto form = make(SettingsWindowLayout());
    form->setControlVisible(ctl::TrayMenu, false);
    QMenu* top = form->menu(ctl::TrayMenu);
    QTimer::singleShot(50, top, [&] {
        form->action(ctl::CheckNow)->trigger();
        top->close();
    });
    form->popupMenu(ctl::TrayMenu);
    EXPECT_EQ(events.log, (std::vector<std::string>{"Click " + std::to_string(ctl::CheckNow)}));
    EXPECT_FALSE(top->isVisible());
}

TEST_F(QtFormTest, FocusAndSelectionReachTheTextBox) {
    auto form = make(SettingsWindowLayout());
    form->setVisible(true);
    form->setText(ctl::IntervalBox, "abc");
    form->setFocus(ctl::IntervalBox);
    form->selectAll(ctl::IntervalBox);
    auto* box = qobject_cast<QLineEdit*>(form->widget(ctl::IntervalBox));
    EXPECT_EQ(box->selectedText(), QStringLiteral("abc"));
    EXPECT_EQ(form->window()->focusWidget(), box);
    form->setEnabled(ctl::IntervalBox, false);
    EXPECT_FALSE(form->enabled(ctl::IntervalBox));
}

TEST_F(QtFormTest, TheControlsWaitForTheFirstShowAndTheMenusDoNot) {
    auto form = make(SettingsWindowLayout());
    // What the load step does in the tray: the window's handle for the
    // icon, the boxes filled, the option marks set, the top menu hidden.
    EXPECT_NE(form->handle(), 0U);
    form->setText(ctl::ServerBox, "pop.example.jp");
    form->setText(ctl::PasswordBox, "secret");
    form->setChecked(ctl::ShowErrors, true);
    form->setControlVisible(ctl::TrayMenu, false);
    EXPECT_FALSE(form->clientBuilt());

    EXPECT_TRUE(form->action(ctl::ShowErrors)->isChecked()) << "the menus are live at once";
    EXPECT_FALSE(form->menu(ctl::TrayMenu)->menuAction()->isVisible());
    EXPECT_EQ(form->text(ctl::ServerBox), "pop.example.jp");
    EXPECT_EQ(form->text(ctl::UserBox), "") << "a box never set reads as its layout text";
    EXPECT_EQ(form->text(ctl::SettingsFrame), "基本設定");
    EXPECT_EQ(form->text(ctl::CancelButton), "CANCEL");
    EXPECT_TRUE(form->enabled(ctl::OkButton));
    EXPECT_FALSE(form->checked(ctl::ServerBox)) << "a text box has no check mark";
    EXPECT_FALSE(form->clientBuilt()) << "reading builds nothing";

    form->setVisible(true);
    EXPECT_TRUE(form->clientBuilt());
    EXPECT_EQ(qobject_cast<QLineEdit*>(form->widget(ctl::ServerBox))->text(),
              QStringLiteral("pop.example.jp"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(form->widget(ctl::PasswordBox))->text(),
              QStringLiteral("secret"));
    EXPECT_EQ(form->window()->focusWidget(), form->widget(ctl::ServerBox)) << "first tab stop";
}

TEST_F(QtFormTest, WhatTheProgramSetsBeforeTheFirstShowReachesTheControls) {
    auto form = make(SmallWindow());
    form->setText(2, "ﾊﾞｰｼﾞｮﾝ 2");
    form->setChecked(3, true);
    form->setChecked(2, true);  // a label has no mark: ignored, as on a built label
    form->setEnabled(4, false);
    form->setControlVisible(1, false);
    form->setFocus(3);
    EXPECT_EQ(form->text(2), "ﾊﾞｰｼﾞｮﾝ 2");
    EXPECT_TRUE(form->checked(3));
    EXPECT_FALSE(form->checked(2));
    EXPECT_FALSE(form->enabled(4));
    EXPECT_EQ(form->text(1), "") << "the picture shows no text";
    EXPECT_TRUE(events.log.empty());

    form->setVisible(true);
    EXPECT_EQ(qobject_cast<QLabel*>(form->widget(2))->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2"));
    EXPECT_TRUE(qobject_cast<QCheckBox*>(form->widget(3))->isChecked());
    EXPECT_FALSE(form->widget(4)->isEnabled());
    EXPECT_FALSE(form->widget(1)->isVisible());
    EXPECT_TRUE(form->widget(3)->isVisible());
    EXPECT_EQ(form->window()->focusWidget(), form->widget(3)) << "the program's focus wins";
    EXPECT_TRUE(events.log.empty()) << "setting the state raised no event";
}

TEST_F(QtFormTest, ASelectionBeforeTheFirstShowHoldsUntilTheTextChanges) {
    auto form = make(SettingsWindowLayout());
    form->setText(ctl::IntervalBox, "abc");
    form->selectAll(ctl::IntervalBox);
    form->setText(ctl::DisplayIntervalBox, "5");
    form->selectAll(ctl::DisplayIntervalBox);
    form->setText(ctl::DisplayIntervalBox, "7");
    form->setVisible(true);
    EXPECT_EQ(qobject_cast<QLineEdit*>(form->widget(ctl::IntervalBox))->selectedText(),
              QStringLiteral("abc"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(form->widget(ctl::DisplayIntervalBox))->selectedText(),
              QString());
}

TEST_F(QtFormTest, AFormClosedBeforeItsFirstShowBuildsNothing) {
    auto form = make(SmallWindow());
    form->setText(2, "x");
    form->close();
    EXPECT_EQ(form->text(2), "");
    EXPECT_EQ(form->widget(2), nullptr);
    EXPECT_FALSE(form->clientBuilt());
}

TEST_F(QtFormTest, TheSessionEndAsksEveryOpenWindow) {
    auto first = make(SmallWindow());
    auto second = make(SmallWindow());
    second->close();
    ui.endSession();
    EXPECT_EQ(events.log, (std::vector<std::string>{"CloseRequested SessionEnd"}));
}

}  // namespace
}  // namespace vantorel::qt::test
