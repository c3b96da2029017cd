#include "entries/entry_pick_lists.h"

namespace {

const QString kActive = QStringLiteral("((AKTIVNOALL IS NULL) OR (AKTIVNOALL=1))");

} // namespace

QString DriverListQuery(bool activeOnly)
{
    return QStringLiteral("SELECT IMEPREZIME,IDDJ FROM DJELATNICI WHERE (VOZAC=1) ")
        + (activeOnly ? QStringLiteral("AND ") + kActive : QString()) + QStringLiteral(" ORDER BY 1");
}

QString VehicleListQuery(bool activeOnly)
{
    return QStringLiteral("SELECT OZNAKA,IDVOZ FROM VOZILO ")
        + (activeOnly ? QStringLiteral("WHERE ") + kActive : QString()) + QStringLiteral(" ORDER BY 1");
}
