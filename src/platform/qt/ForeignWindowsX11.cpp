// Other programs' windows through Xlib on Qt's own X connection, when the
// session is an X11 one.

#include <QGuiApplication>
#include <QTimer>

#include "platform/qt/ForeignWindowsChoice.h"
#include "platform/qt/NoForeignWindows.h"
#include "platform/qt/x11/XlibWindows.h"

namespace vantorel::qt {

std::unique_ptr<platform::ForeignWindows> MakeForeignWindows(platform::Diagnostics& diagnostics) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr) {
        diagnostics.warn("title notices need an X11 session (" +
                         QGuiApplication::platformName().toStdString() +
                         " has none): mail is checked, but nothing is written into title bars");
        return std::make_unique<NoForeignWindows>();
    }
    auto schedule = [](int milliseconds, std::function<void()> task) {
        QTimer::singleShot(milliseconds, qApp, std::move(task));
    };
    return std::make_unique<x11::XlibWindows>(static_cast<void*>(x11->display()), schedule);
}

}  // namespace vantorel::qt
