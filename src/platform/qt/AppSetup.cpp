#include "platform/qt/AppSetup.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

#include "platform/qt/ProgramIcon.h"

namespace vantorel::qt {

namespace {

// The windows were drawn for a 9-point user-interface font.
constexpr int kFontPointSize = 9;

void LoadJapaneseTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace

void SetUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("vantorel"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());
    QFont font = QApplication::font();
    font.setPointSize(kFontPointSize);
    QApplication::setFont(font);
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) {
        // Without a sound device the audio layer warns at every sound; the
        // sound fails silently by design.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.multimedia*.warning=false"));
    }
    LoadJapaneseTranslation(app);
}

}  // namespace vantorel::qt
