#pragma once

#include <QString>

#include <stdexcept>

namespace Firebird {
class IStatus;
}

// Every failure of the database layer: Firebird's own error text (as the windows show it)
// and its first error code (isc_...), 0 when the failure did not come from Firebird.
class DbError : public std::runtime_error {
public:
    DbError(const QString& text, long code);

    const QString& text() const { return m_text; }
    long code() const { return m_code; }

    // Throws a DbError for a status that holds an error; returns otherwise.
    static void throwIfFailed(Firebird::IStatus* status);

private:
    QString m_text;
    long m_code;
};
