#include "db/data_module.h"

#include "db/db_error.h"

namespace {

TDataModule1* g_current = nullptr;

}  // namespace

TDataModule1::TDataModule1() : m_previous(g_current)
{
    g_current = this;
}

TDataModule1::~TDataModule1()
{
    g_current = m_previous;
}

TDataModule1& TDataModule1::instance()
{
    if (!g_current)
        throw DbError(QStringLiteral("Podatkovni modul nije stvoren."), 0);
    return *g_current;
}
