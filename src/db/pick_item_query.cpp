#include "db/pick_item_query.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/statement.h"
#include "db/transaction.h"

namespace {

constexpr int kNameColumn = 0;
constexpr int kIdColumn = 1;
constexpr int kDetailColumn = 2;  // optional

}  // namespace

void QueryPickItems(Connection& connection, const QString& sql, std::vector<PickItem>& items)
{
    items.clear();
    Transaction read(connection, TransactionAccess::ReadOnly);
    Statement statement(read);
    statement.prepare(sql);
    const int columns = statement.columnCount();
    if (columns <= kIdColumn || columns > kDetailColumn + 1)
        throw DbError(QStringLiteral("Popis za odabir treba stupce naziva, ključa i po želji opisa, a upit ih daje %1.")
                          .arg(columns),
                      0);
    const bool hasDetail = columns > kDetailColumn;
    statement.execute();
    while (statement.next()) {
        items.push_back(PickItem{statement.intOr(kIdColumn, -1), statement.textOr(kNameColumn, QString()),
                                 hasDetail ? statement.textOr(kDetailColumn, QString()) : QString()});
    }
}
