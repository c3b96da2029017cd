#include "reviews/ui/overview_models.h"

#include "common/decimal_text.h"
#include "common/time_text.h"
#include "db/db_error.h"
#include "ui/look.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

namespace {

const QColor kNumberColumn(241, 239, 226);
const QColor kMinutesColumn(250, 250, 250);
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kMomentFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

QString KilometresText(const std::optional<Decimal3>& kilometres)
{
    return FormatDecimalZero(kilometres.value_or(Decimal3{}).toText());
}

template <typename T>
QString MinutesText(const std::optional<T>& minutes)
{
    return FormatMinutes(static_cast<int>(minutes.value_or(0)));
}

QVariant Background(const QColor& colour)
{
    return QBrush(colour);
}

enum EntryColumn { EntryNumber, EntryId, EntryDriver, EntryMoment, EntryKind, EntryPeriod, EntryKm };
enum DayColumn { DayNumber, DayDate, DayDriver, DayStart, DayEnd, DayKm, DayRest, DayAvailability, DayWork, DayDriving,
                 DayMoment, DayKind };
enum TotalColumn { TotalNumber, TotalDate, TotalDriver, TotalKm, TotalRest, TotalAvailability, TotalWork, TotalDriving,
                   TotalSum, TotalStatus, TotalCount };

}  // namespace

template <>
QStringList OverviewColumns<OverviewEntryRow>::headers()
{
    return {QStringLiteral("#"),   QStringLiteral("ID"),        QStringLiteral("Vozač"), QStringLiteral("Vrijeme unosa"),
            QStringLiteral("Tip"), QStringLiteral("Razdoblje"), QStringLiteral("Km")};
}

template <>
std::vector<int> OverviewColumns<OverviewEntryRow>::widths()
{
    return {40, 60, 200, 140, 40, 170, 80};
}

template <>
QVariant OverviewColumns<OverviewEntryRow>::cell(const OverviewEntryRow& row, int lineNumber, int column, int role)
{
    if (role == Qt::DisplayRole) {
        switch (column) {
        case EntryNumber:
            return QString::number(lineNumber);
        case EntryId:
            return QString::number(row.entryId);
        case EntryDriver:
            return row.driverName;
        case EntryMoment:
            return row.enteredAt.toString(kMomentFormat);
        case EntryPeriod:
            return row.periodText();
        case EntryKm:
            return KilometresText(row.kilometres);
        default:
            return QVariant();
        }
    }
    if (role == EntriesModel::kMarkRole && column == EntryKind)
        return static_cast<int>(row.mark());
    if (role == Qt::TextAlignmentRole)
        return column == EntryKm ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role == Qt::BackgroundRole) {
        if (column == EntryNumber)
            return Background(kNumberColumn);
        if (column == EntryDriver)
            return Background(Look::kCream);
    }
    return QVariant();
}

template <>
QStringList OverviewColumns<OverviewDayRow>::headers()
{
    return {QStringLiteral("#"),         QStringLiteral("Datum"),  QStringLiteral("Vozač"),
            QStringLiteral("Od"),        QStringLiteral("Do"),     QStringLiteral("Km"),
            QStringLiteral("Odmor"),     QStringLiteral("Spremnost"), QStringLiteral("Rad"),
            QStringLiteral("Vožnja"),    QStringLiteral("Vrijeme unosa"), QStringLiteral("Tip")};
}

template <>
std::vector<int> OverviewColumns<OverviewDayRow>::widths()
{
    return {40, 80, 180, 50, 50, 70, 65, 70, 65, 65, 140, 40};
}

template <>
QVariant OverviewColumns<OverviewDayRow>::cell(const OverviewDayRow& row, int lineNumber, int column, int role)
{
    const bool minutesColumn = column >= DayRest && column <= DayDriving;
    if (role == Qt::DisplayRole) {
        if (minutesColumn)
            return MinutesText(row.kindMinutes[static_cast<size_t>(column - DayRest)]);
        switch (column) {
        case DayNumber:
            return QString::number(lineNumber);
        case DayDate:
            return row.date.toString(kDateFormat);
        case DayDriver:
            return row.driverName;
        case DayStart:
            return row.startText();
        case DayEnd:
            return row.endText();
        case DayKm:
            return KilometresText(row.kilometres);
        case DayMoment:
            return row.enteredAt.toString(kMomentFormat);
        default:
            return QVariant();
        }
    }
    if (role == EntryDaysModel::kMarkRole && column == DayKind)
        return static_cast<int>(row.mark());
    if (role == Qt::TextAlignmentRole) {
        if (column == DayKm)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return minutesColumn ? QVariant(Qt::AlignCenter) : QVariant();
    }
    if (role == Qt::BackgroundRole) {
        if (column == DayNumber)
            return Background(kNumberColumn);
        if (column == DayDriver || column == DayKm)
            return Background(Look::kCream);
        if (minutesColumn)
            return Background(kMinutesColumn);
    }
    return QVariant();
}

template <>
QStringList OverviewColumns<OverviewTotalRow>::headers()
{
    return {QStringLiteral("#"),      QStringLiteral("Datum"),     QStringLiteral("Vozač"),  QStringLiteral("Km"),
            QStringLiteral("Odmor"),  QStringLiteral("Spremnost"), QStringLiteral("Rad"),    QStringLiteral("Vožnja"),
            QStringLiteral("Ukupno"), QStringLiteral("Status"),    QStringLiteral("Broj zapisa")};
}

template <>
std::vector<int> OverviewColumns<OverviewTotalRow>::widths()
{
    return {40, 80, 180, 80, 65, 70, 65, 65, 65, 55, 80};
}

template <>
QVariant OverviewColumns<OverviewTotalRow>::cell(const OverviewTotalRow& row, int lineNumber, int column, int role)
{
    const bool minutesColumn = column >= TotalRest && column <= TotalDriving;
    const bool over = row.exceedsOneDay();
    if (role == Qt::DisplayRole) {
        if (minutesColumn)
            return MinutesText(row.kindMinutes[static_cast<size_t>(column - TotalRest)]);
        switch (column) {
        case TotalNumber:
            return QString::number(lineNumber);
        case TotalDate:
            return row.date.toString(kDateFormat);
        case TotalDriver:
            return row.driverName;
        case TotalKm:
            return KilometresText(row.kilometres);
        case TotalSum:
            return MinutesText(row.totalMinutes);
        case TotalStatus:
            return over ? QStringLiteral("> 24") : QString();
        case TotalCount:
            return QString::number(row.entryDays);
        default:
            return QVariant();
        }
    }
    if (role == Qt::TextAlignmentRole)
        return column == TotalKm ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role == Qt::BackgroundRole) {
        if ((column == TotalNumber || column == TotalStatus) && over)
            return Background(Qt::red);
        if (column == TotalNumber)
            return Background(kNumberColumn);
        if (column == TotalStatus)
            return Background(QGuiApplication::palette().color(QPalette::Light));
        if (minutesColumn)
            return Background(kMinutesColumn);
        if (column == TotalCount)
            return Background(Look::kCream);
    }
    if (role == Qt::ForegroundRole && (column == TotalNumber || column == TotalStatus) && over)
        return QBrush(Qt::yellow);
    return QVariant();
}

template <typename Row>
OverviewListModel<Row>::OverviewListModel(QObject* parent) : QAbstractTableModel(parent)
{
}

template <typename Row>
void OverviewListModel<Row>::reload(Connection& connection, const OverviewFilter& filter)
{
    beginResetModel();
    m_reader.reset();
    m_rows.clear();
    endResetModel();
    auto reader = std::make_unique<OverviewReader<Row>>(connection, filter);
    std::vector<Row> first = reader->fetch(kBatch);
    m_reader = std::move(reader);
    append(std::move(first));
}

template <typename Row>
void OverviewListModel<Row>::append(std::vector<Row> rows)
{
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

template <typename Row>
int OverviewListModel<Row>::fetchUntil(const std::function<bool(const Row&)>& matches)
{
    for (int position = 0;; ++position) {
        if (position == rowCount()) {
            if (!canFetchMore(QModelIndex()))
                return -1;
            fetchMore(QModelIndex());
            if (position == rowCount())
                return -1;
        }
        if (matches(m_rows[static_cast<size_t>(position)]))
            return position;
    }
}

template <typename Row>
int OverviewListModel<Row>::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

template <typename Row>
int OverviewListModel<Row>::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(OverviewColumns<Row>::headers().size());
}

template <typename Row>
QVariant OverviewListModel<Row>::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    return OverviewColumns<Row>::cell(m_rows[static_cast<size_t>(index.row())], index.row() + 1, index.column(), role);
}

template <typename Row>
QVariant OverviewListModel<Row>::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return OverviewColumns<Row>::headers().value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

template <typename Row>
bool OverviewListModel<Row>::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_reader && !m_reader->atEnd();
}

template <typename Row>
void OverviewListModel<Row>::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    try {
        append(m_reader->fetch(kBatch));
    } catch (const DbError& error) {
        m_reader.reset();
        if (m_errorHandler)
            m_errorHandler(error.text());
    }
}

template class OverviewListModel<OverviewEntryRow>;
template class OverviewListModel<OverviewDayRow>;
template class OverviewListModel<OverviewTotalRow>;
