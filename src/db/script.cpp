#include "db/script.h"

#include "common/win1250.h"
#include "db/connection.h"
#include "db/firebird_api.h"
#include "db/transaction.h"

#include <QRegularExpression>

namespace {

constexpr unsigned kSqlDialect = 3;

// Position of the next terminator outside quotes and comments, or -1.
qsizetype FindTerminator(const QString& s, qsizetype from, const QString& terminator)
{
    qsizetype i = from;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = s.indexOf(c, i + 1);
            i = end < 0 ? s.size() : end + 1;
        } else if (s.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = s.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? s.size() : end + 2;
        } else if (s.mid(i, 2) == QLatin1String("--")) {
            const qsizetype end = s.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? s.size() : end + 1;
        } else if (QStringView(s).mid(i).startsWith(terminator)) {
            return i;
        } else {
            ++i;
        }
    }
    return -1;
}

}  // namespace

Script::Script(Transaction& transaction) : m_transaction(transaction)
{
}

QStringList Script::SplitStatements(const QString& script)
{
    static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList statements;
    QString terminator = QStringLiteral(";");
    qsizetype from = 0;
    while (from < script.size()) {
        const qsizetype at = FindTerminator(script, from, terminator);
        const QString chunk = script.mid(from, at < 0 ? -1 : at - from).trimmed();
        from = at < 0 ? script.size() : at + terminator.size();
        const QRegularExpressionMatch match = setTerm.match(chunk);
        if (match.hasMatch())
            terminator = match.captured(1);
        else if (!chunk.isEmpty())
            statements << chunk;
    }
    return statements;
}

void Script::execute(const QString& script)
{
    Connection& connection = m_transaction.connection();
    for (const QString& statement : SplitStatements(script)) {
        connection.notifyStatement(statement);
        m_transaction.startIfNotActive();
        FirebirdStatus status;
        connection.attachment()->execute(status.get(), m_transaction.handle(), 0, ToWin1250(statement).constData(),
                                         kSqlDialect, nullptr, nullptr, nullptr, nullptr);
        connection.check(status);
    }
}
