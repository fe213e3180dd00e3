#pragma once
// The program's UTF-8 texts to and from Qt's strings.

#include <QString>
#include <string>
#include <string_view>

namespace vantorel::qt {

inline QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQ(const QString& text) {
    return text.toStdString();
}

}  // namespace vantorel::qt
