#pragma once

#include <QString>
#include <stdexcept>

// An error whose message is meant for the operator. Event handlers that do not catch it
// end in the standard error box, which shows message() as it is.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The text the standard error box shows for a failure: an AppError's message, else what the
// error says of itself.
QString errorMessageOf(const std::exception& error);
