#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "RecordingEvents.h"
#include "app/SettingsWindowLayout.h"
#include "platform/posix/DlLibraryLoader.h"
#include "platform/qt/AppSetup.h"
#include "platform/qt/ForeignWindowsChoice.h"
#include "platform/qt/OwnedWindows.h"
#include "platform/qt/ProgramIcon.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtSoundPlayer.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/QtTrayShell.h"
#include "platform/qt/QtWindowFramework.h"
#include "platform/qt/TrayMarkIcon.h"

namespace vantorel::qt::test {
namespace {

class Recorded : public platform::Diagnostics {
  public:
    void warn(const std::string& message) override { lines.push_back(message); }
    std::vector<std::string> lines;
};

// ---- other programs' windows outside X11

// A session without X11 (Wayland; here Qt's offscreen platform) gives no
// way into other programs' windows: nothing is found, no title is written,
// nothing flashes, so the program's announcement goes to the desktop
// notification. Standard error says why, once.
TEST(ForeignWindowsChoice, OutsideX11NoWindowIsReachedAndThatIsSaidOnce) {
    ASSERT_NE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    Recorded diagnostics;
    const auto windows = MakeForeignWindows(diagnostics);
    ASSERT_NE(windows, nullptr);
    ASSERT_EQ(diagnostics.lines.size(), 1U);
    EXPECT_NE(diagnostics.lines[0].find("X11"), std::string::npos) << diagnostics.lines[0];

    EXPECT_EQ(windows->foregroundWindow(), 0U);
    EXPECT_EQ(windows->windowFromPoint(windows->cursorPos()), 0U);
    EXPECT_EQ(windows->parent(1), 0U);
    EXPECT_FALSE(windows->isWindow(1));
    EXPECT_FALSE(windows->windowText(1).has_value()) << "a title that cannot be read is unknown";
    EXPECT_FALSE(windows->setWindowText(0, "3通メールが来ています。"));
    EXPECT_FALSE(windows->setWindowText(1, "3通メールが来ています。"));
    EXPECT_FALSE(windows->flash(1, 3));
    EXPECT_EQ(diagnostics.lines.size(), 1U) << "the calls themselves stay quiet";
}

// ---- timers

TEST(QtTimer, APeriodOfZeroGivesNoTicks) {
    int ticks = 0;
    QtTimer timer([&] { ++ticks; });
    timer.setEnabled(true);
    EXPECT_TRUE(timer.enabled());
    EXPECT_FALSE(timer.ticking());
    timer.setInterval(5);
    EXPECT_TRUE(timer.ticking()) << "a period makes an enabled timer run";
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 2; }));
    timer.setInterval(0);
    EXPECT_FALSE(timer.ticking());
    EXPECT_TRUE(timer.enabled());
}

TEST(QtTimer, EnablingARunningTimerChangesNothing) {
    int ticks = 0;
    QtTimer timer([&] { ++ticks; });
    timer.setInterval(60000);
    timer.setEnabled(true);
    ASSERT_TRUE(timer.ticking());
    timer.setEnabled(true);
    EXPECT_TRUE(timer.ticking());
    timer.setEnabled(false);
    EXPECT_FALSE(timer.ticking());
    EXPECT_EQ(timer.interval(), 60000U);
    EXPECT_EQ(ticks, 0);
}

TEST(QtTimer, AFailingTickIsReportedAndEndsTheProgram) {
    Recorded diagnostics;
    QtWindowFramework ui(diagnostics);
    // The box that reports it is closed as soon as it is up.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    closer.start(20);
    auto timer =
        ui.createTimer("check timer", [] { throw std::runtime_error("count out of range"); });
    timer->setInterval(5);
    timer->setEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return !diagnostics.lines.empty(); }));
    timer->setEnabled(false);
    EXPECT_EQ(diagnostics.lines.front(), "unhandled failure: count out of range");
}

// ---- the application

TEST(AppSetup, QtsOwnDialogsSpeakJapaneseAndClosingTheLastWindowDoesNotQuit) {
    SetUpApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
              QStringLiteral("キャンセル"));
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}

// ---- message boxes

TEST(QtMessageBox, IsModalWithOneOkButtonAndLeavesItsTextOnStandardError) {
    Recorded diagnostics;
    QtWindowFramework ui(diagnostics);
    QString title;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            modal = box->isModal();
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(20);
    ui.messageBox("エラーです。設定しなおしてください", "Vantorel",
                  platform::MessageIcon::Information);
    EXPECT_EQ(title, QStringLiteral("Vantorel"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_TRUE(modal);
    ui.messageBox("数値が不正です", "Vantorel", platform::MessageIcon::None);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(diagnostics.lines,
              (std::vector<std::string>{"message box: エラーです。設定しなおしてください",
                                        "message box: 数値が不正です"}));
}

TEST(QtMessageBox, IsWideEnoughForItsCaptionAndBelongsToTheMainWindow) {
    Recorded diagnostics;
    QtWindowFramework ui(diagnostics);
    RecordingEvents events;
    auto main = ui.createForm(SettingsWindowLayout(), events);
    main->setVisible(true);
    int width = 0;
    QWidget* parent = nullptr;
    QString caption;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            width = box->width();
            parent = box->parentWidget();
            caption = box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(20);
    // A short text with a long caption: the caption decides the width.
    const QString longCaption = QStringLiteral("Vantorel メールサーバーの確認 と 長いタイトル");
    ui.messageBox("数値が不正です", longCaption.toStdString(), platform::MessageIcon::None);
    EXPECT_EQ(caption, longCaption);
    EXPECT_GE(width, CaptionWidth(longCaption, QApplication::font("QMdiSubWindowTitleBar")));
    EXPECT_EQ(parent, static_cast<QtForm*>(main.get())->window());
}

// ---- tray

class QtTrayTest : public ::testing::Test {
  protected:
    QtTrayTest() {
        form.reset(static_cast<QtForm*>(ui.createForm(SettingsWindowLayout(), events).release()));
        owner = form->handle();
        look.icon = form->icon();
        look.tip = "Vantorel";
    }

    Recorded diagnostics;
    QtWindowFramework ui{diagnostics};
    RecordingEvents events;
    std::unique_ptr<QtForm> form;
    QtTrayShell tray{ui, diagnostics};
    platform::WindowHandle owner = 0;
    platform::TrayLook look;
};

TEST_F(QtTrayTest, WithoutATrayTheIconIsRefusedAndThatIsSaidOnce) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "the offscreen platform has none";
    EXPECT_FALSE(tray.show(owner, look));
    EXPECT_FALSE(tray.available());
    // Whether the owner stays on the screen is the program's decision.
    form->setVisible(true);
    form->setVisible(false);
    EXPECT_FALSE(form->visible());
    EXPECT_TRUE(tray.remove()) << "kept for a tray to come";
    EXPECT_FALSE(tray.show(owner, look));
    EXPECT_EQ(diagnostics.lines.size(), 1U);
}

TEST_F(QtTrayTest, TheIconIsShownOnceAndRemovedOnce) {
    tray.show(owner, look);
    EXPECT_FALSE(tray.show(owner, look)) << "a duplicate";
    EXPECT_TRUE(tray.remove());
    EXPECT_FALSE(tray.remove()) << "already gone";
    EXPECT_EQ(tray.icon(), nullptr);
}

TEST_F(QtTrayTest, ADoubleClickAndTheContextRequestReachTheOwnerAsTheTwoActions) {
    tray.show(owner, look);
    tray.activated(QSystemTrayIcon::DoubleClick);
    tray.activated(QSystemTrayIcon::Context);
    EXPECT_EQ(events.log, (std::vector<std::string>{"TrayActivated DoubleClicked",
                                                    "TrayActivated MenuRequested"}));
}

TEST_F(QtTrayTest, OtherClicksAndAContextRequestRepeatedAsTheMenuClosesAreNoAction) {
    tray.show(owner, look);
    tray.activated(QSystemTrayIcon::Trigger);
    tray.activated(QSystemTrayIcon::MiddleClick);
    tray.activated(QSystemTrayIcon::Unknown);
    EXPECT_TRUE(events.log.empty());
    tray.activated(QSystemTrayIcon::Context);
    // The same press reported a second time right after the menu closed.
    tray.activated(QSystemTrayIcon::Context);
    EXPECT_EQ(events.log, (std::vector<std::string>{"TrayActivated MenuRequested"}));
}

TEST_F(QtTrayTest, AnUpdateSetsTheMarkedIconAndTooltipOfTheShownIcon) {
    platform::TrayLook change = look;
    change.mark = {platform::TrayMark::Kind::NewMail, 3};
    change.tip = "Vantorel - 新着3通 (最終確認 14:06)";
    EXPECT_FALSE(tray.update(change)) << "no icon yet";

    tray.show(owner, look);
    QSystemTrayIcon* icon = tray.icon();
    ASSERT_NE(icon, nullptr);
    const QImage plain = icon->icon().pixmap(16, 16).toImage();
    EXPECT_TRUE(tray.update(change));
    EXPECT_EQ(icon->toolTip(), QString::fromUtf8("Vantorel - 新着3通 (最終確認 14:06)"));
    EXPECT_NE(icon->icon().pixmap(16, 16).toImage(), plain);

    change.mark = {};
    tray.update(change);
    EXPECT_EQ(icon->icon().pixmap(16, 16).toImage(), plain);
}

// Every check changes the mark (new mail, then none once the menu is
// opened); were each change a new QIcon, Qt would keep pixmaps for every
// one of them and the program would grow with every check.
TEST_F(QtTrayTest, AMarkShownAgainReusesItsIcon) {
    tray.show(owner, look);
    QSystemTrayIcon* icon = tray.icon();
    ASSERT_NE(icon, nullptr);
    platform::TrayLook change = look;
    const auto show = [&](platform::TrayMark mark) {
        change.mark = mark;
        tray.update(change);
        return icon->icon().cacheKey();
    };
    using Kind = platform::TrayMark::Kind;
    const qint64 plain = show({});
    const qint64 three = show({Kind::NewMail, 3});
    EXPECT_NE(three, plain);
    EXPECT_EQ(show({}), plain);
    EXPECT_EQ(show({Kind::NewMail, 3}), three);
    EXPECT_NE(show({Kind::NewMail, 4}), three);
    EXPECT_EQ(show({Kind::Error, 0}), show({Kind::Error, 0}));
}

TEST(TrayMarkIcon, EachMarkLooksDifferentAndKeepsTheEnvelopeVisible) {
    const QIcon base = ProgramIcon();
    using Kind = platform::TrayMark::Kind;
    const platform::TrayMark marks[] = {{Kind::None, 0},
                                        {Kind::NewMail, 3},
                                        {Kind::NewMail, 12},
                                        {Kind::Error, 0},
                                        {Kind::Paused, 0}};
    for (const int size : {16, 32}) {
        std::vector<QImage> images;
        for (const auto& mark : marks) {
            const QImage image = MarkedIcon(base, mark).pixmap(size, size).toImage();
            EXPECT_EQ(image.width(), size);
            // The upper left quarter stays the envelope's, also greyed.
            EXPECT_GT(qAlpha(image.pixel(size / 4, size / 4)), 0);
            for (const QImage& other : images) {
                EXPECT_NE(image, other) << size;
            }
            images.push_back(image);
        }
    }
}

TEST_F(QtTrayTest, ARemovedIconReportsNothing) {
    tray.show(owner, look);
    const QPointer<QSystemTrayIcon> removed = tray.icon();
    tray.remove();
    tray.activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(events.log.empty());

    // Shown again: the removed icon's widget, not yet deleted, still
    // reports nothing; the new one does.
    tray.show(owner, look);
    ASSERT_FALSE(removed.isNull());
    Q_EMIT removed->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(events.log.empty());
    Q_EMIT tray.icon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(events.log, (std::vector<std::string>{"TrayActivated DoubleClicked"}));
}

TEST_F(QtTrayTest, AnIconRemovedByItsOwnMenuOutlivesABoxLoopUnderTheMenu) {
    // The right press pops the menu up; its command shows a box, and the
    // icon is removed while the box runs (the session ends): the box's event
    // loop must not delete the icon whose mouse event is still running.
    tray.show(owner, look);
    const QPointer<QSystemTrayIcon> icon = tray.icon();
    ASSERT_FALSE(icon.isNull());
    bool aliveAfterBox = false;
    events.onTrayAction = [&](platform::TrayAction) {
        tray.remove();
        QEventLoop box;
        QTimer::singleShot(0, &box, &QEventLoop::quit);
        box.exec();
        aliveAfterBox = !icon.isNull();
    };
    tray.activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(aliveAfterBox);
    EXPECT_TRUE(WaitUntil([&] { return icon.isNull(); })) << "removed once the action returned";
    EXPECT_EQ(tray.icon(), nullptr);
}

// ---- sound

class QtSoundPlayerTest : public ::testing::Test {
  protected:
    // A short, valid WAV file: 8 kHz, 8-bit mono, 800 samples of silence.
    QString writeWav() {
        constexpr int kSamples = 800;
        QByteArray data("RIFF");
        auto u32 = [&](quint32 v) {
            for (int i = 0; i < 4; ++i) {
                data.append(static_cast<char>((v >> (8 * i)) & 0xFF));
            }
        };
        auto u16 = [&](quint16 v) {
            data.append(static_cast<char>(v & 0xFF));
            data.append(static_cast<char>(v >> 8));
        };
        u32(36 + kSamples);
        data.append("WAVEfmt ");
        u32(16);
        u16(1);
        u16(1);
        u32(8000);
        u32(8000);
        u16(1);
        u16(8);
        data.append("data");
        u32(kSamples);
        data.append(QByteArray(kSamples, static_cast<char>(0x80)));
        const QString path = folder.filePath(QStringLiteral("ちゃいむ.wav"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return path;
    }

    QTemporaryDir folder;
    posix::DlLibraryLoader loader;
    Recorded diagnostics;
    QtSoundPlayer player{loader, diagnostics};
};

TEST_F(QtSoundPlayerTest, LoadPlayAndStopAWavFile) {
    const std::string wav = writeWav().toStdString();
    EXPECT_FALSE(player.isOpen());
    player.load(wav);
    EXPECT_TRUE(player.isOpen());
    EXPECT_FALSE(player.played());
    EXPECT_FALSE(player.moduleLoaded()) << "opening a file loads no audio library yet";
    player.play(wav);
    EXPECT_TRUE(player.played());
    EXPECT_TRUE(player.moduleLoaded());
    player.play(wav);  // again, from the start
    EXPECT_TRUE(player.played());
    EXPECT_TRUE(diagnostics.lines.empty());
    player.stop();
    EXPECT_FALSE(player.isOpen());
    EXPECT_FALSE(player.played());
    player.stop();  // nothing open: nothing happens
    EXPECT_FALSE(player.isOpen());
}

TEST_F(QtSoundPlayerTest, LoadingAFileStopsTheSoundStillPlaying) {
    const std::string wav = writeWav().toStdString();
    player.play(wav);
    ASSERT_TRUE(player.played());
    player.load(wav);
    EXPECT_TRUE(player.isOpen());
    EXPECT_FALSE(player.played());
}

TEST_F(QtSoundPlayerTest, PlayReadsTheFileAnewAndAFileGoneMeanwhileFailsSilently) {
    const QString path = writeWav();
    player.load(path.toStdString());
    ASSERT_TRUE(QFile::remove(path));
    player.play(path.toStdString());
    EXPECT_FALSE(player.isOpen()) << "the file open before is closed";
    EXPECT_FALSE(player.played());
    EXPECT_TRUE(diagnostics.lines.empty());
}

// A loader that finds no library, as when the sound module is missing.
class NoLibraries : public platform::LibraryLoader {
  public:
    void* load(const std::string& baseName) override {
        loads.push_back(baseName);
        return nullptr;
    }
    void* symbol(void*, const char*) override { return nullptr; }
    std::string lastError() override { return "not there"; }
    std::vector<std::string> loads;
};

TEST_F(QtSoundPlayerTest, AMissingSoundModuleIsToldOnceAndThePlayerStillOpensAndCloses) {
    NoLibraries none;
    QtSoundPlayer silent(none, diagnostics);
    const std::string wav = writeWav().toStdString();
    for (int round = 0; round < 2; ++round) {
        silent.play(wav);
        EXPECT_TRUE(silent.isOpen());
        EXPECT_TRUE(silent.played());
        silent.stop();
        EXPECT_FALSE(silent.isOpen());
    }
    EXPECT_EQ(none.loads, std::vector<std::string>{"vantorel-sound"}) << "looked for once";
    ASSERT_EQ(diagnostics.lines.size(), 1U);
    EXPECT_NE(diagnostics.lines[0].find("not there"), std::string::npos);
}

TEST_F(QtSoundPlayerTest, NoFileAMissingFileOrAFolderFailsSilently) {
    for (const QString& path :
         {QString(), folder.filePath(QStringLiteral("none.wav")), folder.path()}) {
        player.load(path.toStdString());
        EXPECT_FALSE(player.isOpen()) << path.toStdString();
        player.play(path.toStdString());
        EXPECT_FALSE(player.isOpen()) << path.toStdString();
        EXPECT_FALSE(player.played()) << path.toStdString();
    }
    EXPECT_FALSE(player.moduleLoaded()) << "nothing to play loads no audio library";
    EXPECT_TRUE(diagnostics.lines.empty());
}

// ---- file dialog

TEST(QtFilter, KeepsADescriptionThatNamesItsPattern) {
    EXPECT_EQ(QtFilter("WAVファイル(*.wav)|*.wav"), QStringLiteral("WAVファイル(*.wav)"));
}

TEST(QtFilter, NamesThePatternsOfOtherDescriptions) {
    EXPECT_EQ(QtFilter("Sound|*.wav;*.wave|All|*.*"),
              QStringLiteral("Sound (*.wav *.wave);;All (*.*)"));
    EXPECT_EQ(QtFilter(""), QString());
}

TEST(QtFileDialog, HoldsNoNameBeforeAChoice) {
    QtFileDialogs dialogs;
    auto dialog = dialogs.createFileDialog();
    dialog->setFilter("WAVファイル(*.wav)|*.wav");
    EXPECT_EQ(dialog->fileName(), "");
}

}  // namespace
}  // namespace vantorel::qt::test
