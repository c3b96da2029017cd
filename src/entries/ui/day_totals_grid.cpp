#include "entries/ui/day_totals_grid.h"

#include "entries/day_totals.h"
#include "entries/totals_texts.h"
#include "ui/look.h"

#include <QHeaderView>
#include <QTableWidget>

#include <array>

namespace {

enum TotalsColumn { TotalsName, TotalsTime, TotalsMinutes, TotalsColumnCount };
constexpr int kFirstNightLine = 4;
constexpr int kRowHeight = 18;

}  // namespace

QTableWidget* NewDayTotalsGrid(QWidget* parent, const QStringList& lineNames)
{
    auto* grid = new QTableWidget(static_cast<int>(lineNames.size()), TotalsColumnCount, parent);
    grid->setObjectName(QStringLiteral("TotalsGrid"));
    grid->setHorizontalHeaderLabels({QStringLiteral("Aktivnost"), QStringLiteral("Trajanje"), QStringLiteral("min")});
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setColumnWidth(TotalsName, 110);
    grid->setColumnWidth(TotalsTime, 65);
    grid->setColumnWidth(TotalsMinutes, 35);
    QFont small = grid->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int column = TotalsName; column < TotalsColumnCount; ++column) {
            auto* item = new QTableWidgetItem(column == TotalsName ? lineNames[row] : QString());
            if (row >= kFirstNightLine)
                item->setBackground(Look::kCream);
            if (column == TotalsTime) {
                item->setForeground(Qt::blue);
                item->setBackground(Look::kCream);
            }
            if (column == TotalsMinutes)
                item->setFont(small);
            grid->setItem(row, column, item);
        }
    }
    return grid;
}

void ShowDayTotals(QTableWidget* grid, const DayTotals& totals)
{
    const std::array<int, 8> minutes{totals.minutes(ActivityKind::Rest),    totals.minutes(ActivityKind::Availability),
                                     totals.minutes(ActivityKind::OtherWork), totals.minutes(ActivityKind::Driving),
                                     totals.nightWork,  totals.nightAll,
                                     totals.nightDriving, totals.nightOtherWork};
    for (int row = 0; row < static_cast<int>(minutes.size()) && row < grid->rowCount(); ++row) {
        grid->item(row, TotalsTime)->setText(DayTotalText(minutes[static_cast<size_t>(row)]));
        grid->item(row, TotalsMinutes)->setText(QString::number(minutes[static_cast<size_t>(row)]));
    }
}
