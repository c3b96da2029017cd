#include "bench_database.h"

#include "temp_database.h"
#include "db/schema_upgrade.h"
#include "large_database.h"

#include <QFileInfo>

#include <cstdlib>

TestConnection& BenchDatabase()
{
    static TestConnection* data = [] {
        const QByteArray configured = qgetenv("VELTRA_BENCH_DB");
        const QString path =
            configured.isEmpty() ? QStringLiteral("/tmp/veltra-bench-large.fdb") : QString::fromLocal8Bit(configured);
        if (!QFileInfo::exists(path))
            CreateLargeDatabase(path, LargeDatabaseSize{});
        auto* module = new TestConnection;
        if (!ConnectAndUpgrade(module->connection, path, [](const QString&, const QString&) {}))
            std::abort();
        return module;
    }();
    return *data;
}
