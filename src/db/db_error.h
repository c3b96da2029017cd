#pragma once

#include <QString>

#include <optional>
#include <stdexcept>
#include <vector>

namespace Firebird {
class IStatus;
}

// Every failure of the database layer: Firebird's own error text (as the windows show it), the
// error codes of its status vector (isc_...) and its SQLSTATE. A failure that did not come from
// Firebird has no codes and an empty SQLSTATE.
class DbError : public std::runtime_error {
public:
    // A right the account lacks, as Firebird names it: "SELECT" on "TABLE" "VOZACI".
    struct MissingRight {
        QString right;
        QString objectKind;
        QString object;
    };

    DbError(const QString& text, long code);
    DbError(const QString& text, std::vector<long> codes, const QString& sqlState,
            std::optional<MissingRight> missingRight = std::nullopt);

    const QString& text() const { return m_text; }
    // The first error code, 0 when there is none.
    long code() const { return m_codes.empty() ? 0 : m_codes.front(); }
    const std::vector<long>& codes() const { return m_codes; }
    const QString& sqlState() const { return m_sqlState; }

    // Another transaction holds the row (no wait), or changed it first.
    bool isLockConflict() const;
    // A unique or primary key would hold the same value twice.
    bool isUniqueViolation() const;
    // A foreign key refuses the change.
    bool isForeignKeyViolation() const;
    // The connection to the database is gone (network, server shut down or restarted).
    bool isConnectionLost() const;
    // The server refused the user name or password.
    bool isLoginRefused() const;
    // The server could not be reached or refused the connection.
    bool isServerUnreachable() const;
    // The account lacks a right for what it asked (SQLSTATE 28000, or a no-privilege code); the
    // database itself is sound. The right and its object, when Firebird names them.
    bool isPermissionDenied() const;
    const std::optional<MissingRight>& missingRight() const { return m_missingRight; }

    // Throws a DbError for a status that holds an error; returns otherwise.
    static void throwIfFailed(Firebird::IStatus* status);

private:
    bool hasCode(std::initializer_list<long> codes) const;

    QString m_text;
    std::vector<long> m_codes;
    QString m_sqlState;
    std::optional<MissingRight> m_missingRight;
};
