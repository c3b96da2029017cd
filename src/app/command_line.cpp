#include "app/command_line.h"

#include "db/base_schema.h"
#include "db/connection.h"
#include "db/transaction.h"
#include "db/db_error.h"
#include "db/index_statistics.h"
#include "db/schema_upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <optional>

namespace {

DatabaseAccount AccountFor(const QString& path)
{
    return CommandLineAccount(path, QCoreApplication::applicationDirPath(), QDir::currentPath());
}

int CreateDatabase(const QString& path)
{
    try {
        CreateBaseDatabase(path, AccountFor(path));
        return 0;
    } catch (const DbError& error) {
        QTextStream(stderr) << error.text() << Qt::endl;
        return 1;
    }
}

int UpgradeDatabase(const QString& path)
{
    Connection connection;
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool told = false;
    const bool open = ConnectAndUpgrade(connection, path, [&](const QString& message, const QString& databaseError) {
        out << message << Qt::endl;
        err << databaseError << Qt::endl;
        told = true;
    }, AccountFor(path));
    // The owner's upkeep of a database that clerks' accounts may not alter: every index
    // measured anew (the program measures only when it may).
    if (open) {
        try {
            Transaction write(connection);
            RecomputeIndexStatistics(write);
        } catch (const DbError& error) {
            // A clerk's account may not measure: the owner's run does.
            if (!error.isPermissionDenied()) {
                out << QStringLiteral("Statistika indeksa nije osvježena.") << Qt::endl;
                err << error.text() << Qt::endl;
                told = true;
            }
        }
    }
    // Whatever the operator was told of is a failure, even when the database stays open.
    return open && !told ? 0 : 1;
}

}  // namespace

std::optional<int> RunCommandLine(int argc, char* argv[])
{
    if (argc < 2)
        return std::nullopt;
    const QString command = QString::fromLocal8Bit(argv[1]);
    if (command != QLatin1String("--create-database") && command != QLatin1String("--upgrade-database"))
        return std::nullopt;
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "Uporaba: veltra " << command << " PUTANJA" << Qt::endl;
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    return command == QLatin1String("--create-database") ? CreateDatabase(path) : UpgradeDatabase(path);
}
