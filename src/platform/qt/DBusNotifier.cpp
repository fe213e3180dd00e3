#include "platform/qt/DBusNotifier.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>
#include <memory>

#include "platform/qt/QtText.h"

namespace vantorel::qt {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kAppName = QStringLiteral("Vantorel");
// The icon of the installed program (its menu entry installs it).
const QString kAppIcon = QStringLiteral("vantorel");
const QString kBodyMarkup = QStringLiteral("body-markup");
constexpr unsigned kNewNotification = 0;  // replaces_id: none replaced

std::unique_ptr<QDBusInterface> Service() {
    auto service =
        std::make_unique<QDBusInterface>(kService, kPath, kService, QDBusConnection::sessionBus());
    service->setTimeout(DBusNotifier::kCallTimeoutMs);
    return service;
}

}  // namespace

bool DBusNotifier::BodyIsMarkup() {
    if (!bodyIsMarkup_) {
        const QDBusReply<QStringList> capabilities =
            Service()->call(QStringLiteral("GetCapabilities"));
        if (!capabilities.isValid()) {
            return false;  // asked again next time: the daemon may start later
        }
        bodyIsMarkup_ = capabilities.value().contains(kBodyMarkup);
    }
    return *bodyIsMarkup_;
}

bool DBusNotifier::notify(const platform::DesktopNotice& notice) {
    if (!QDBusConnection::sessionBus().isConnected()) {
        return false;
    }
    // A sender such as "Name <name@example.jp>" would be taken for a tag by
    // a daemon that reads markup.
    const QString body = BodyIsMarkup() ? ToQ(notice.body).toHtmlEscaped() : ToQ(notice.body);
    const QDBusReply<unsigned> reply =
        Service()->call(QStringLiteral("Notify"), kAppName, kNewNotification, kAppIcon,
                        ToQ(notice.summary), body, QStringList(), QVariantMap(), kShownMs);
    return reply.isValid();
}

}  // namespace vantorel::qt
