#include "temp_database.h"

#include "db/base_schema.h"
#include "db/data_module.h"
#include "db/schema_upgrade.h"

#include <QtTest>

TempDatabase::TempDatabase(Schema schema) : m_path(m_folder.filePath(QStringLiteral("VT.FDB")))
{
    CreateBaseDatabase(m_path);
    if (schema == Schema::Upgraded) {
        TDataModule1 data;
        const QStringList messages = ConnectUpgraded(data, m_path);
        if (!messages.isEmpty())
            qFatal("Upgrading a test database failed: %s", qPrintable(messages.join(QLatin1Char(' '))));
    }
}

QStringList ConnectUpgraded(TDataModule1& data, const QString& path)
{
    QStringList messages;
    ConnectAndUpgrade(data, path, [&](const QString& message, const QString&) { messages << message; });
    return messages;
}

qint64 QueryNumber(TDataModule1& data, const QString& sql)
{
    const bool started = !data.IBTransaction1.isActive();
    data.IBSQL1.prepare(sql);
    data.IBSQL1.execute();
    const qint64 value = data.IBSQL1.next() ? data.IBSQL1.intValue(0).value_or(0) : 0;
    data.IBSQL1.close();
    if (started)
        data.IBTransaction1.commit();
    return value;
}
