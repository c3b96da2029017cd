#include "app/command_line.h"

#include "db/base_schema.h"
#include "db/data_module.h"
#include "db/db_error.h"
#include "db/schema_upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <optional>

namespace {

// The value of the first of the environment variables that is not empty, or nothing.
std::optional<QString> FirstSet(const char* first, const char* second)
{
    for (const char* name : {first, second}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return qEnvironmentVariable(name);
    }
    return std::nullopt;
}

// The account for a database named on the command line: the one VTDB.DAT in the working folder
// gives when it names the same database, else the user and the password from the environment,
// each from VELTRA_USER and VELTRA_PASSWORD or, when that is not set, from ISC_USER and
// ISC_PASSWORD, which every Firebird tool reads (a password never stands on a command line,
// where others see it), else the default account.
DatabaseAccount AccountFor(const QString& path)
{
    const DatabaseTarget named = ReadDatabaseTarget(QCoreApplication::applicationDirPath(), QDir::currentPath());
    if (named.location == path)
        return named.account;
    DatabaseAccount account;
    if (const std::optional<QString> user = FirstSet("VELTRA_USER", "ISC_USER"))
        account.user = *user;
    if (const std::optional<QString> password = FirstSet("VELTRA_PASSWORD", "ISC_PASSWORD"))
        account.password = *password;
    return account;
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
