#include "platform/qt/OwnedWindows.h"

#include <QFont>
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
// the bar is high, the gaps between them, and the bar's padding on both
// ends. Measured under openbox's default theme, where 4 squares and 24
// pixels still cut "Vantorel" down to "Va…rel".
constexpr int kTitleBarSquares = 5;
constexpr int kTitleBarPadding = 48;

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
    // Window managers draw the caption in bold.
    QFont bold(font);
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(caption) + kTitleBarSquares * metrics.height() +
           kTitleBarPadding;
}

}  // namespace vantorel::qt
