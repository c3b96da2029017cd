// veltra-gendb: a large database for trying the program at an office's size.
//   veltra-gendb [--drivers N] [--years N] PATH
#include "large_database.h"

#include "db/db_error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    LargeDatabaseSize size;
    QTextStream err(stderr);
    while (arguments.size() > 1 && arguments.first().startsWith(QLatin1String("--"))) {
        const QString option = arguments.takeFirst();
        bool number = false;
        const int value = arguments.takeFirst().toInt(&number);
        if (!number || value < 1 || (option != QLatin1String("--drivers") && option != QLatin1String("--years"))) {
            err << "Uporaba: veltra-gendb [--drivers N] [--years N] PUTANJA" << Qt::endl;
            return 2;
        }
        (option == QLatin1String("--drivers") ? size.drivers : size.years) = value;
    }
    // A lone option (such as --help) is no path.
    if (arguments.size() != 1 || arguments.first().startsWith(QLatin1String("--"))) {
        err << "Uporaba: veltra-gendb [--drivers N] [--years N] PUTANJA" << Qt::endl;
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    try {
        CreateLargeDatabase(arguments.first(), size, [&](int done) {
            err << "\r" << done << "/" << size.drivers << " vozača" << Qt::flush;
        });
    } catch (const DbError& error) {
        err << Qt::endl << error.text() << Qt::endl;
        return 1;
    }
    err << Qt::endl << "Gotovo za " << timer.elapsed() / 1000.0 << " s" << Qt::endl;
    return 0;
}
