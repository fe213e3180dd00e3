// Writes the program's icon images as PNG files for installing, at build
// time, so the menu entry shows the icon the program shows.
//
// usage: vantorel_icon_files FOLDER   writes FOLDER/vantorel-<size>.png

#include <QDir>
#include <QString>
#include <cstdio>

#include "platform/qt/ProgramIcon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantorel_icon_files FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const auto& image : vantorel::ProgramIconImages()) {
        const QString file = folder.filePath(QStringLiteral("vantorel-%1.png").arg(image.size));
        if (!vantorel::qt::IconQImage(image).save(file, "PNG")) {
            std::fprintf(stderr, "vantorel_icon_files: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
