#include "temp_database.h"

#include "db/base_schema.h"
#include "db/catalogue.h"
#include "db/schema_upgrade.h"
#include "db/statement.h"
#include "db/transaction.h"

#include <QtTest>

namespace {

QString TestServer()
{
    return qEnvironmentVariable("VELTRA_TEST_SERVER");
}

} // namespace

DatabaseAccount TestAccount()
{
    DatabaseAccount account;
    if (!TestServer().isEmpty()) {
        account.user = qEnvironmentVariable("VELTRA_SERVER_USER");
        account.password = qEnvironmentVariable("VELTRA_SERVER_PASSWORD");
    }
    return account;
}

TempDatabase::TempDatabase(Schema schema) : m_path(m_folder.filePath(QStringLiteral("VT.FDB")))
{
    if (!TestServer().isEmpty()) {
        // The server's own user writes the file.
        QFile::setPermissions(m_folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                  | QFileDevice::ReadOther | QFileDevice::WriteOther
                                                  | QFileDevice::ExeOther);
        m_path = TestServer() + QLatin1Char(':') + m_path;
    }
    CreateBaseDatabase(m_path, TestAccount());
    if (schema == Schema::Upgraded) {
        Connection connection;
        const QStringList messages = ConnectUpgraded(connection, m_path);
        if (!messages.isEmpty())
            qFatal("Upgrading a test database failed: %s", qPrintable(messages.join(QLatin1Char(' '))));
    }
}

void GrantClerkRights(const QString& path, const QString& user, const QString& leftOut)
{
    static const QStringList kTables{"DJELATNICI", "VOZILO", "UNOS", "DUNOS", "SATIUNOS", "SKENLOG", "AKTPOTVRDA",
                                     "VOZACI", "UTOVARIVACI"};
    static const QStringList kGenerators{"GEN_UNOS_ID", "GEN_DUNOS_ID", "GEN_DJELATNICI_ID", "GEN_VOZILO_ID",
                                         "GEN_AKTPOTVRDA_ID"};
    Connection connection;
    connection.setDatabaseName(path);
    connection.setAccount(TestAccount());
    connection.open();
    Transaction transaction(connection);
    Statement sql(transaction);
    const QStringList tables = UserTables(sql);
    QStringList generators;
    sql.prepare(QStringLiteral("SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS"));
    sql.execute();
    while (sql.next())
        generators << sql.textValue(0).value_or(QString());
    for (const QString& table : kTables) {
        if (tables.contains(table) && table != leftOut) {
            sql.prepare(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %1 TO USER %2").arg(table, user));
            sql.execute();
        }
    }
    for (const QString& generator : kGenerators) {
        if (generators.contains(generator)) {
            sql.prepare(QStringLiteral("GRANT USAGE ON GENERATOR %1 TO USER %2").arg(generator, user));
            sql.execute();
        }
    }
    transaction.commit();
}

QStringList ConnectUpgraded(Connection& connection, const QString& path)
{
    QStringList messages;
    ConnectAndUpgrade(connection, path, [&](const QString& message, const QString&) { messages << message; },
                      TestAccount());
    return messages;
}

qint64 QueryNumber(TestTransactions& data, const QString& sql)
{
    const bool started = !data.write.isActive();
    data.sql.prepare(sql);
    data.sql.execute();
    const qint64 value = data.sql.next() ? data.sql.intValue(0).value_or(0) : 0;
    data.sql.close();
    if (started)
        data.write.commit();
    return value;
}
