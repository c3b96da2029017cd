#include "db/data_module.h"

#include "db/db_error.h"

TDataModule1& TDataModule1::instance()
{
    TDataModule1* data = latest();
    if (!data)
        throw DbError(QStringLiteral("Podatkovni modul nije stvoren."), 0);
    return *data;
}
