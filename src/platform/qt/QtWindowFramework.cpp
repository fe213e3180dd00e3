#include "platform/qt/QtWindowFramework.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/FormLayout.h"
#include "platform/qt/OwnedWindows.h"
#include "platform/qt/ProgramIcon.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtTimer.h"

namespace vantorel::qt {

namespace {

constexpr double kTwipsPerInch = platform::kTwipsPerInch;
constexpr double kStandardDpi = platform::kStandardDpi;
constexpr int kUnhandledExitCode = 1;

double LogicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : kStandardDpi;
    return dpi > 0.0 ? dpi : kStandardDpi;
}

// One of the program's own windows on the screen (never a popup, nor one
// that is closing).
bool IsProgramWindow(const QWidget* widget) {
    return widget != nullptr && widget->isWindow() && widget->isVisible() &&
           !widget->inherits("QMenu");
}

// A box with a short text is narrow, and the window manager cut its
// caption down to "V…". A spacer across the bottom of the box's grid keeps
// it at least as wide as the whole caption needs; the box sets its own size
// from its layout, so a minimum width set on the box itself would be lost.
void KeepCaptionVisible(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const int width = CaptionWidth(box.windowTitle(), QApplication::font("QMdiSubWindowTitleBar"));
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

QtWindowFramework::QtWindowFramework(platform::Diagnostics& diagnostics)
    : diagnostics_(diagnostics) {}

QtWindowFramework::~QtWindowFramework() = default;

std::unique_ptr<platform::Form> QtWindowFramework::createForm(const platform::FormLayout& layout,
                                                              platform::FormEvents& events) {
    return std::make_unique<QtForm>(*this, layout, events);
}

std::unique_ptr<platform::Timer> QtWindowFramework::createTimer(std::string_view /*name*/,
                                                                std::function<void()> onTick) {
    return std::make_unique<QtTimer>([this, tick = std::move(onTick)] { raise(tick); });
}

void QtWindowFramework::messageBox(std::string_view text, std::string_view caption,
                                   platform::MessageIcon icon) {
    // What a box said stays in the session's log after it is closed.
    diagnostics_.warn("message box: " + std::string(text));
    // The box belongs to the program's window the user is in, else to the
    // main window: it opens over it and has no task bar button of its own.
    QWidget* owner = QApplication::activeWindow();
    if (!IsProgramWindow(owner)) {
        owner = mainWindow();
    }
    // On the heap: a box is deleted with its owner, and the program may
    // close the owner while the box is up.
    QPointer<QMessageBox> box = new QMessageBox(
        icon == platform::MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
        ToQ(caption), ToQ(text), QMessageBox::Ok, owner);
    box->setWindowIcon(ProgramIcon());
    box->setWindowModality(Qt::ApplicationModal);
    KeepCaptionVisible(*box);
    KeepOffTaskbar(*box);
    box->exec();
    delete box.data();
}

int QtWindowFramework::pixels(int twips) const {
    return static_cast<int>(std::lround(twips * LogicalDpi() / kTwipsPerInch));
}

void QtWindowFramework::quit() {
    // The event loop ends once the current event has returned. Ending it
    // from inside the event would also end the loops of a menu or box that
    // is still running it (the tray menu whose item chose to quit), and
    // leave Qt with a popup half taken down.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

void QtWindowFramework::raise(const std::function<void()>& event) {
    try {
        event();
    } catch (const std::exception& failure) {
        reportUnhandled(failure.what());
    } catch (...) {
        reportUnhandled("unknown failure");
    }
}

void QtWindowFramework::reportUnhandled(const std::string& what) {
    diagnostics_.warn("unhandled failure: " + what);
    if (failing_) {
        return;  // one report; the program is already on its way out
    }
    failing_ = true;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vantorel"),
                    QStringLiteral("予期しないエラーが発生したため終了します。\n") + ToQ(what),
                    QMessageBox::Ok);
    box.exec();
    QCoreApplication::exit(kUnhandledExitCode);
}

QtForm* QtWindowFramework::formByHandle(platform::WindowHandle handle) const {
    for (QtForm* form : forms_) {
        if (!form->isClosed() && form->handle() == handle) {
            return form;
        }
    }
    return nullptr;
}

QIcon QtWindowFramework::iconFor(platform::IconHandle /*icon*/) const {
    if (programIcon_.isNull()) {
        programIcon_ = ProgramIcon();
    }
    return programIcon_;
}

QWidget* QtWindowFramework::mainWindow() const {
    for (QtForm* form : forms_) {
        if (!form->isClosed() && !form->isOwnedWindow()) {
            return form->window();
        }
    }
    return nullptr;
}

void QtWindowFramework::endSession() {
    // A copy: a window's handler may close or destroy windows.
    const std::vector<QtForm*> open = forms_;
    for (QtForm* form : open) {
        if (std::find(forms_.begin(), forms_.end(), form) != forms_.end()) {
            form->raiseSessionEnd();
        }
    }
}

void QtWindowFramework::registerForm(QtForm* form) {
    forms_.push_back(form);
}

void QtWindowFramework::forgetForm(QtForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

}  // namespace vantorel::qt
