#pragma once

#include <QString>

#include <stdexcept>

// A text that cannot be turned into the value asked for; what() holds the Croatian message
// for the operator (UTF-8), text() the same as a QString.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }

    QString text() const { return QString::fromUtf8(what()); }
};
