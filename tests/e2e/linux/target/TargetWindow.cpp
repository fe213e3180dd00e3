// The window the end-to-end tests announce into: an ordinary program's
// top-level window with a title given on the command line. It prints its
// X window id once it is shown, so the test can find it.
//
// usage: vantorel_e2e_target TITLE

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantorel-e2e-target"));
    const QString title = argc > 1 ? QString::fromUtf8(argv[1]) : QStringLiteral("target");
    QLabel window(QStringLiteral("Vantorel の通知を受ける窓"));
    window.setWindowTitle(title);
    constexpr int kWidth = 480;
    constexpr int kHeight = 160;
    window.resize(kWidth, kHeight);
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        std::printf("%llu\n", static_cast<unsigned long long>(window.winId()));
        std::fflush(stdout);
    });
    return QApplication::exec();
}
