#include "platform/qt/OwnedWindows.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "platform/qt/x11/TaskbarState.h"

namespace vantorel::qt {

namespace {

// Room in the title bar besides the caption: the window icon and the
// buttons (minimise, maximise, close) of most themes, each about as wide as
// the bar is high, and the bar's padding on both ends.
constexpr int kTitleBarSquares = 4;
constexpr int kTitleBarPadding = 24;

QPoint CentreOf(QWidget* owner) {
    if (owner != nullptr && owner->isVisible() && !owner->isMinimized()) {
        return owner->frameGeometry().center();
    }
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry().center() : QPoint();
}

}  // namespace

void StandOver(QWidget& window, QWidget* owner) {
    window.adjustSize();
    const QPoint centre = CentreOf(owner);
    window.move(centre - QPoint(window.width() / 2, window.height() / 2));
    // Both native windows must exist for the owner to be named.
    window.winId();
    if (owner != nullptr && owner != &window) {
        owner->winId();
        window.windowHandle()->setTransientParent(owner->windowHandle());
    }
    KeepOffTaskbar(window);
}

void KeepOffTaskbar(QWidget& window) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    x11::KeepOffTaskbar(static_cast<void*>(x11->display()), window.winId());
}

int CaptionWidth(const QString& caption, const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(caption) + kTitleBarSquares * metrics.height() +
           kTitleBarPadding;
}

}  // namespace vantorel::qt
