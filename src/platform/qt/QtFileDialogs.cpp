#include "platform/qt/QtFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "platform/qt/QtText.h"

namespace vantorel::qt {

namespace {

class QtFileDialog : public platform::FileDialog {
  public:
    void setFilter(std::string_view filter) override { filter_ = QtFilter(filter); }

    void showOpen() override {
        const QString start = fileName_.isEmpty() ? QString() : QFileInfo(fileName_).absolutePath();
        const QString chosen = QFileDialog::getOpenFileName(nullptr, QString(), start, filter_);
        if (!chosen.isEmpty()) {
            fileName_ = chosen;  // a cancelled dialog keeps the name it held
        }
    }

    std::string fileName() override { return FromQ(fileName_); }

  private:
    QString filter_;
    QString fileName_;
};

}  // namespace

QString QtFilter(std::string_view filter) {
    const QStringList parts = ToQ(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString named = QLatin1Char('(') + patterns + QLatin1Char(')');
        entries << (description.trimmed().endsWith(named) ? description
                                                          : description + QLatin1Char(' ') + named);
    }
    if (parts.size() % 2 == 1 && !parts.back().isEmpty()) {
        entries << parts.back();  // a description without a pattern
    }
    return entries.join(QStringLiteral(";;"));
}

std::unique_ptr<platform::FileDialog> QtFileDialogs::createFileDialog() {
    return std::make_unique<QtFileDialog>();
}

}  // namespace vantorel::qt
