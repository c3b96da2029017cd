#include "entries/ui/summary_rows_model.h"

#include "ui/look.h"
#include "common/conversion_error.h"
#include "common/time_text.h"
#include "entries/totals_texts.h"

#include <QBrush>
#include <QColor>
#include <QFont>

SummaryRowsModel::SummaryRowsModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void SummaryRowsModel::setMinutes(const SummaryMinutes& minutes)
{
    m_minutes = minutes;
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int SummaryRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kActivityKindCount;
}

int SummaryRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SummaryRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const auto k = static_cast<size_t>(index.row());
    const auto column = static_cast<Column>(index.column());
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (column) {
        case Aktivnost:
            return ActivityShortName(kActivityKinds[k]);
        case Dnevno:
            return FormatMinutes(m_minutes.day[k]);
        case Nocno:
            return FormatMinutes(m_minutes.night[k]);
        case Ukupno:
            return SummaryRowTotalText(m_minutes.day[k] + m_minutes.night[k]);
        case ColumnCount:
            break;
        }
        return {};
    }
    if (role == Qt::ForegroundRole && column == Dnevno)
        return QBrush(Look::kTypedText);
    if (role == Qt::BackgroundRole && column == Dnevno)
        return QBrush(Look::kCream);
    if (role == Qt::BackgroundRole && column == Ukupno)
        return QBrush(Look::kTotalRow);
    if (role == Qt::FontRole && column == Ukupno) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

QVariant SummaryRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const QStringList headers{QStringLiteral("Aktivnost"), QStringLiteral("Dnevno"),
                                     QStringLiteral("Noćno"), QStringLiteral("Ukupno")};
    return headers.value(section);
}

Qt::ItemFlags SummaryRowsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.column() == Dnevno || index.column() == Nocno)
        result |= Qt::ItemIsEditable;
    return result;
}

bool SummaryRowsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || (index.column() != Dnevno && index.column() != Nocno))
        return false;
    int minutes = 0;
    try {
        minutes = MinutesBetween(ParseTimeText(value.toString()), 0);
    } catch (const ConversionError& error) {
        emit inputRefused(error.text());
        return false;
    }
    auto& part = index.column() == Dnevno ? m_minutes.day : m_minutes.night;
    part[static_cast<size_t>(index.row())] = minutes;
    emit dataChanged(this->index(index.row(), Dnevno), this->index(index.row(), Ukupno));
    return true;
}
