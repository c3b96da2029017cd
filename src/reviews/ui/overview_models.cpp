#include "reviews/ui/overview_models.h"

#include "common/decimal_text.h"
#include "common/time_text.h"
#include "db/database_worker.h"
#include "db/db_error.h"
#include "ui/look.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

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
OverviewListModel<Row>::OverviewListModel(QObject* parent) : OverviewListBase(parent)
{
}

template <typename Row>
OverviewListModel<Row>::~OverviewListModel() = default;

template <typename Row>
void OverviewListModel<Row>::reload(const Connection& connection, const OverviewFilter& filter,
                                    std::function<bool(const Row&)> find, int near)
{
    if (!m_worker || !m_worker->serves(connection))
        m_worker = std::make_unique<DatabaseWorker>(connection, TransactionAccess::Snapshot);
    stop();
    beginResetModel();
    m_rows.clear();
    m_length = 0;
    m_counted = false;
    m_endReached = false;
    m_groups.clear();
    m_groupFirst.clear();
    endResetModel();
    m_stopped = false;
    m_filter = filter;
    m_find = std::move(find);
    m_near = near;
    m_findFirst = -1;
    m_countAsked = false;
    request(Request{0, {}, true});
}

template <typename Row>
void OverviewListModel<Row>::count()
{
    if (!m_worker || m_stopped || m_counted || m_countAsked)
        return;
    m_countAsked = true;
    const int generation = m_generation;
    const OverviewFilter filter = m_filter;
    m_worker->post(
        [this, generation, filter](Transaction& read) {
            const std::vector<OverviewGroup> groups = LoadOverviewGroups<Row>(read, filter);
            QMetaObject::invokeMethod(this, [this, generation, groups] { setGroups(generation, groups); },
                                      Qt::QueuedConnection);
        },
        [this, generation](const DbError& error) {
            QMetaObject::invokeMethod(this, [this, generation, text = error.text()] { report(generation, text); },
                                      Qt::QueuedConnection);
        });
}

template <typename Row>
void OverviewListModel<Row>::stop()
{
    // The connection stays for the next reading; the snapshot ends.
    ++m_generation;
    if (m_worker)
        m_worker->cancelAll();
    m_requested.clear();
    m_wanted.clear();
    m_stopped = true;
    setWaitingCount(-m_waiting);
}

template <typename Row>
bool OverviewListModel<Row>::isWaiting() const
{
    return m_waiting > 0;
}

template <typename Row>
void OverviewListModel<Row>::setWaitingCount(int change)
{
    const bool before = m_waiting > 0;
    m_waiting += change;
    if (before != (m_waiting > 0))
        emit waitingChanged();
}

template <typename Row>
void OverviewListModel<Row>::request(const Request& wanted)
{
    if (!m_worker || m_stopped)
        return;
    // The read ends where a batch ends: after kBatch lines, or for the day lists at the end of
    // the date they reach.
    int last = wanted.first + kBatch;
    if (m_counted && !std::is_same_v<Row, OverviewEntryRow> && wanted.first + kBatch <= m_length) {
        const auto group = std::upper_bound(m_groupFirst.begin(), m_groupFirst.end(), wanted.first + kBatch - 1);
        last = group == m_groupFirst.end() ? m_length : *group;
    }
    m_requested.emplace_back(wanted.first, last);
    setWaitingCount(1);
    const int generation = m_generation;
    const int first = wanted.first;
    const OverviewFilter filter = m_filter;
    const std::optional<OverviewStart> start = wanted.fromTop ? std::nullopt : std::optional(wanted.start);
    m_worker->post(
        [this, generation, first, filter, start](Transaction& read) {
            OverviewReader<Row> reader(read, filter, start);
            std::vector<Row> rows = reader.fetch(kBatch);
            const bool atEnd = reader.atEnd();
            QMetaObject::invokeMethod(
                this, [this, generation, first, rows = std::move(rows), atEnd]() mutable {
                    place(generation, first, std::move(rows), atEnd);
                },
                Qt::QueuedConnection);
        },
        [this, generation](const DbError& error) {
            QMetaObject::invokeMethod(this, [this, generation, text = error.text()] { report(generation, text); },
                                      Qt::QueuedConnection);
        });
}

template <typename Row>
typename OverviewListModel<Row>::Request OverviewListModel<Row>::requestFor(int position) const
{
    const auto group = std::upper_bound(m_groupFirst.begin(), m_groupFirst.end(), position) - 1;
    const size_t index = static_cast<size_t>(group - m_groupFirst.begin());
    // Entries are read from any line of their group; the day lists a whole date at a time.
    const int first = std::is_same_v<Row, OverviewEntryRow> ? position : *group;
    return Request{first, OverviewStart{m_groups[index].date, first - *group}, false};
}

template <typename Row>
void OverviewListModel<Row>::requestWanted()
{
    std::vector<int> wanted;
    wanted.swap(m_wanted);
    if (!m_counted)
        return;
    for (int position : wanted) {
        const bool requested = std::any_of(m_requested.begin(), m_requested.end(), [position](const auto& range) {
            return position >= range.first && position < range.second;
        });
        if (!requested && position < m_length && !isLoaded(position))
            request(requestFor(position));
    }
}

template <typename Row>
void OverviewListModel<Row>::place(int generation, int first, std::vector<Row> rows, bool atEnd)
{
    if (generation != m_generation)
        return;
    const auto range = std::find_if(m_requested.begin(), m_requested.end(),
                                    [first](const auto& requested) { return requested.first == first; });
    if (range != m_requested.end())
        m_requested.erase(range);
    const int end = first + static_cast<int>(rows.size());
    if (!m_counted && end > m_length) {
        // Read from the top before the list knew its length: the view grows.
        beginInsertRows(QModelIndex(), m_length, end - 1);
        for (size_t row = 0; row < rows.size(); ++row)
            m_rows.insert_or_assign(first + static_cast<int>(row), rows[row]);
        m_length = end;
        endInsertRows();
    } else if (!rows.empty()) {
        const int last = std::min(end, m_length) - 1;
        for (int position = first; position <= last; ++position)
            m_rows.insert_or_assign(position, rows[static_cast<size_t>(position - first)]);
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
    }
    if (!m_counted && atEnd)
        m_endReached = true;
    if (first == 0 && atEnd) {
        // The whole list came with the first batch.
        m_counted = true;
        emit counted();
    }
    if (first == 0)
        emit firstLinesRead();
    lookFor(first, rows);
    // The line to find again is not in the first batch of a list that ends there.
    if (first == 0 && atEnd)
        m_find = nullptr;
    setWaitingCount(-1);
    requestWanted();
}

template <typename Row>
void OverviewListModel<Row>::lookFor(int first, const std::vector<Row>& rows)
{
    if (!m_find)
        return;
    const auto found = std::find_if(rows.begin(), rows.end(), m_find);
    if (found != rows.end()) {
        m_find = nullptr;
        emit lineFound(first + static_cast<int>(found - rows.begin()));
    } else if (first == m_findFirst) {
        // The batch about the former position was the last place to look.
        m_find = nullptr;
    }
}

template <typename Row>
void OverviewListModel<Row>::setGroups(int generation, const std::vector<OverviewGroup>& groups)
{
    if (generation != m_generation)
        return;
    m_groups = groups;
    m_groupFirst.clear();
    int length = 0;
    for (const OverviewGroup& group : m_groups) {
        m_groupFirst.push_back(length);
        length += group.lines;
    }
    m_counted = true;
    // Every read is of one snapshot of the database, so the lines read from the top are the
    // list's first ones whatever was stored meanwhile.
    if (length > m_length) {
        beginInsertRows(QModelIndex(), m_length, length - 1);
        m_length = length;
        endInsertRows();
    }
    emit counted();
    if (m_find) {
        if (m_near < m_length && !isLoaded(m_near)) {
            const Request about = requestFor(std::max(0, m_near - kBatch / 2));
            m_findFirst = about.first;
            request(about);
        } else {
            m_find = nullptr;
        }
    }
    requestWanted();
}

template <typename Row>
void OverviewListModel<Row>::report(int generation, const QString& text)
{
    if (generation != m_generation)
        return;
    stop();
    emit failed(text);
}

template <typename Row>
int OverviewListModel<Row>::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_length;
}

template <typename Row>
int OverviewListModel<Row>::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(OverviewColumns<Row>::headers().size());
}

template <typename Row>
QVariant OverviewListModel<Row>::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_length)
        return QVariant();
    const auto found = m_rows.find(index.row());
    if (found != m_rows.end())
        return OverviewColumns<Row>::cell(found->second, index.row() + 1, index.column(), role);
    // A line the view shows that is not read yet: asked for once painting is done.
    if (std::find(m_wanted.begin(), m_wanted.end(), index.row()) == m_wanted.end()) {
        if (m_wanted.empty()) {
            auto* self = const_cast<OverviewListModel*>(this);
            QMetaObject::invokeMethod(self, [self] { self->requestWanted(); }, Qt::QueuedConnection);
        }
        m_wanted.push_back(index.row());
    }
    if (role == Qt::DisplayRole && index.column() == 0)
        return QString::number(index.row() + 1);
    return QVariant();
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
    return !parent.isValid() && m_worker && !m_stopped && !m_counted && !m_endReached && m_length > 0
        && m_requested.empty();
}

template <typename Row>
void OverviewListModel<Row>::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    // The next lines after the last one read: its group, past the lines of it read already.
    const std::optional<QDate> group = OverviewGroupOf(m_rows.at(m_length - 1));
    int skip = 0;
    while (skip < m_length && OverviewGroupOf(m_rows.at(m_length - 1 - skip)) == group)
        ++skip;
    request(Request{m_length, OverviewStart{group, skip}, false});
}

template class OverviewListModel<OverviewEntryRow>;
template class OverviewListModel<OverviewDayRow>;
template class OverviewListModel<OverviewTotalRow>;
