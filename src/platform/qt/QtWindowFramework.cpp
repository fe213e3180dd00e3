#include "platform/qt/QtWindowFramework.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/FormLayout.h"
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
    QMessageBox box(
        icon == platform::MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
        ToQ(caption), ToQ(text), QMessageBox::Ok);
    box.setWindowIcon(ProgramIcon());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

int QtWindowFramework::twipsPerPixelX() {
    return static_cast<int>(std::lround(kTwipsPerInch / LogicalDpi()));
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
    return ProgramIcon();
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
