#pragma once

#include "db/connection.h"
#include "db/transaction.h"
#include "print/ui/printer_output.h"
#include "settings/settings.h"
#include "ui/row_source.h"

#include <QObject>
#include <QString>

// What a run of the program works in: the connection to its database, the settings with the
// file they live in, the way printouts leave, and the news of stored data that open windows
// refresh on. The shell makes one and hands it to every window it opens.
class Session : public QObject, public RowSource {
    Q_OBJECT

public:
    // The settings are read from `settingsPath` by whoever loads them (the shell at start-up).
    explicit Session(const QString& settingsPath);
    ~Session() override;

    Connection& connection() { return m_connection; }
    Settings& settings() { return m_settings; }
    const SettingsValues& values() const { return m_settings.values(); }
    const QString& settingsPath() const { return m_settings.path(); }
    Printing& printing() { return m_printing; }

    // A transaction for one piece of work, started by its first statement or scope and rolled
    // back when it goes unless committed. A read sees every commit as it comes; a write's
    // scope commits, and one nested in another's work leaves the commit to the outer one.
    Transaction read() { return Transaction(m_connection, TransactionAccess::ReadOnly); }
    Transaction write() { return Transaction(m_connection); }

    // The rows of a pick list, read in a transaction of their own.
    Rows rows(const QString& sql) override;

signals:
    // Entries were stored or deleted.
    void entriesChanged();
    // Attestations were stored or deleted.
    void attestationsChanged();

private:
    Settings m_settings;
    Printing m_printing{m_settings};
    Connection m_connection;
};
