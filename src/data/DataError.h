#pragma once
// The error every data operation raises: its text is German and shown to the user as it is.
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

} // namespace velmora::data
