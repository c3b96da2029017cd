#include "bench_database.h"

#include "db/data_module.h"
#include "db/schema_upgrade.h"
#include "large_database.h"

#include <QFileInfo>

#include <cstdlib>

TDataModule1& BenchDatabase()
{
    static TDataModule1* data = [] {
        const QByteArray configured = qgetenv("VELTRA_BENCH_DB");
        const QString path =
            configured.isEmpty() ? QStringLiteral("/tmp/veltra-bench-large.fdb") : QString::fromLocal8Bit(configured);
        if (!QFileInfo::exists(path))
            CreateLargeDatabase(path, LargeDatabaseSize{});
        auto* module = new TDataModule1;
        if (!ConnectAndUpgrade(*module, path, [](const QString&, const QString&) {}))
            std::abort();
        return module;
    }();
    return *data;
}
