#include "app/command_line.h"

#include "db/base_schema.h"
#include "db/data_module.h"
#include "db/db_error.h"
#include "db/schema_upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

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
    TDataModule1 data;
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool told = false;
    const bool open = ConnectAndUpgrade(data, path, [&](const QString& message, const QString& databaseError) {
        out << message << Qt::endl;
        err << databaseError << Qt::endl;
        told = true;
    }, AccountFor(path));
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
