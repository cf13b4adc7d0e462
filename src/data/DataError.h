#pragma once
// The error every data operation raises: its text is German and shown to the user as it is.
#include <QDir>
#include <QString>
#include <stdexcept>

namespace velmora::data {

class DataError : public std::runtime_error {
public:
    explicit DataError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A path as the messages show it: with the platform's separators, between German quotes („…“).
inline QString quotedPath(const QString& path) {
    return QStringLiteral("\u201E%1\u201C").arg(QDir::toNativeSeparators(path));
}

} // namespace velmora::data
