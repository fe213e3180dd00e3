// A bare Qt 6 tray program: what any Qt tray program costs before it does
// anything of its own. An icon drawn in memory, a menu of five items that
// do nothing but the last, which ends the program.

#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace {

constexpr int kIconPixels = 32;

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QPixmap pixels(kIconPixels, kIconPixels);
    pixels.fill(QColor(Qt::darkBlue));
    QMenu menu;
    for (const char* item : {"Settings", "Pause", "Version", "Check now"}) {
        menu.addAction(QString::fromLatin1(item));
    }
    menu.addSeparator();
    QObject::connect(menu.addAction(QStringLiteral("Exit")), &QAction::triggered, &app,
                     &QApplication::quit);

    QSystemTrayIcon icon{QIcon(pixels)};
    icon.setToolTip(QStringLiteral("peer-tray"));
    icon.setContextMenu(&menu);
    icon.show();
    return QApplication::exec();
}
