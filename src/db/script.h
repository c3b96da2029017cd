#pragma once

#include <QString>
#include <QStringList>

class Transaction;

// Runs a script of statements on a transaction. Statements end with ";"; a statement
// "SET TERM ^ ;" switches the terminator to "^" (so that a trigger body may hold ";"),
// and "SET TERM ; ^" switches it back. Nothing is committed here.
class Script {
public:
    explicit Script(Transaction& transaction);

    void execute(const QString& script);

    static QStringList SplitStatements(const QString& script);

private:
    Transaction& m_transaction;
};
