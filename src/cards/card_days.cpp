#include "cards/card_days.h"

#include "cards/local_time.h"

#include <algorithm>
#include <map>

namespace {

constexpr qint64 kSecondsPerMinute = 60;
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

// A stretch of the record in UTC.
struct Stretch {
    qint64 begin = 0;
    qint64 end = 0;
    CardInterval activity; // times not set yet
    std::size_t record = 0; // the daily record it comes from
};

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::optional<std::size_t> VehicleAt(const std::vector<VehicleUse>& vehicles, qint64 moment)
{
    for (std::size_t i = vehicles.size(); i-- > 0;) {
        if (vehicles[i].firstUse <= moment && moment < std::max(vehicles[i].lastUse, vehicles[i].firstUse + 1))
            return i;
    }
    return std::nullopt;
}

// What the record says from each change on; time with the card out and no manual entry is
// not recorded.
std::vector<Stretch> RecordedStretches(const CardDownload& download)
{
    std::vector<Stretch> stretches;
    for (std::size_t r = 0; r < download.days.size(); ++r) {
        const CardDayRecord& day = download.days[r];
        for (std::size_t i = 0; i < day.changes.size(); ++i) {
            const ActivityChange& change = day.changes[i];
            const qint64 begin = day.dayStart + change.minute * kSecondsPerMinute;
            const qint64 end = i + 1 < day.changes.size() ? day.dayStart + day.changes[i + 1].minute * kSecondsPerMinute
                                                           : day.dayStart + kSecondsPerDay;
            if (end <= begin)
                continue;
            CardInterval what;
            what.activity = change.activity;
            if (change.cardOut) {
                if (!change.crewOrKnown)
                    continue;
                what.manual = true;
            } else {
                what.crew = change.crewOrKnown;
                what.coDriver = change.coDriverSlot;
                what.vehicle = VehicleAt(download.vehicles, begin);
            }
            stretches.push_back(Stretch{begin, end, what, r});
        }
    }
    return stretches;
}

struct LocalPiece {
    QDate date;
    CardInterval interval;
    std::size_t record = 0;
};

// Cuts a stretch at local midnights and at changes of the offset, so that each piece has one
// offset and one local date. Every round ends at a later moment, so the loop ends.
void CutLocally(const Stretch& stretch, std::vector<LocalPiece>& pieces)
{
    static const QDate kEpoch(1970, 1, 1);
    qint64 from = stretch.begin;
    while (from < stretch.end) {
        const qint64 offset = LocalOffsetMinutes(from) * kSecondsPerMinute;
        const qint64 local = from + offset;
        const qint64 localDay = FloorDiv(local, kSecondsPerDay);
        const qint64 nextMidnight = (localDay + 1) * kSecondsPerDay - offset;
        const qint64 to = std::min({stretch.end, nextMidnight, NextOffsetChange(from)});
        LocalPiece piece{kEpoch.addDays(localDay), stretch.activity, stretch.record};
        piece.interval.start = int((local - localDay * kSecondsPerDay) / kSecondsPerMinute);
        piece.interval.end = piece.interval.start + int((to - from) / kSecondsPerMinute);
        pieces.push_back(piece);
        from = to;
    }
}

bool SameActivity(const CardInterval& a, const CardInterval& b)
{
    return a.activity == b.activity && a.crew == b.crew && a.coDriver == b.coDriver && a.manual == b.manual
        && a.vehicle == b.vehicle;
}

// Each record's distance shared out by its minutes of driving in each local day; a record
// without driving gives its distance to the local day holding most of its minutes.
void ShareDistances(const CardDownload& download, const std::vector<LocalPiece>& pieces, std::map<QDate, CardDay>& days)
{
    struct Share {
        QDate date;
        qint64 driving = 0;
        qint64 all = 0;
    };
    std::vector<std::vector<Share>> shares(download.days.size());
    for (const LocalPiece& piece : pieces) {
        std::vector<Share>& record = shares[piece.record];
        auto found = std::find_if(record.begin(), record.end(), [&](const Share& s) { return s.date == piece.date; });
        if (found == record.end()) {
            record.push_back(Share{piece.date});
            found = record.end() - 1;
        }
        const int minutes = piece.interval.end - piece.interval.start;
        found->all += minutes;
        if (piece.interval.activity == kCardDriving)
            found->driving += minutes;
    }
    for (std::size_t r = 0; r < shares.size(); ++r) {
        const qint64 distance = download.days[r].distanceKm;
        std::vector<Share>& record = shares[r];
        if (distance == 0 || record.empty())
            continue;
        qint64 driving = 0;
        for (const Share& share : record)
            driving += share.driving;
        if (driving == 0) {
            const auto most = std::max_element(record.begin(), record.end(),
                                               [](const Share& a, const Share& b) { return a.all < b.all; });
            days[most->date].distanceKm += int(distance);
            continue;
        }
        qint64 given = 0;
        qint64 drivenSoFar = 0;
        for (const Share& share : record) {
            drivenSoFar += share.driving;
            // Rounded shares of the running total, so that the parts add up to the whole.
            const qint64 upTo = (2 * distance * drivenSoFar + driving) / (2 * driving);
            days[share.date].distanceKm += int(upTo - given);
            given = upTo;
        }
    }
}

// The vehicle of most of the day's minutes; a day without any takes the vehicle in use last
// before it ended, or else the first one used after it.
std::optional<std::size_t> DayVehicle(const CardDay& day, const std::vector<VehicleUse>& vehicles)
{
    std::map<std::size_t, int> minutes;
    for (const CardInterval& interval : day.intervals) {
        if (interval.vehicle)
            minutes[*interval.vehicle] += interval.end - interval.start;
    }
    if (!minutes.empty())
        return std::max_element(minutes.begin(), minutes.end(), [](auto a, auto b) { return a.second < b.second; })->first;
    const qint64 dayEnd = QDate(1970, 1, 1).daysTo(day.date.addDays(1)) * kSecondsPerDay
        - kStandardOffsetMinutes * kSecondsPerMinute;
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < vehicles.size(); ++i) {
        if (vehicles[i].firstUse < dayEnd)
            last = i;
    }
    if (!last && !vehicles.empty())
        last = 0;
    return last;
}

// The UTC moment a local day starts (local midnight is never near a change of the offset).
qint64 LocalMidnight(const QDate& date)
{
    const qint64 midnight = QDate(1970, 1, 1).daysTo(date) * kSecondsPerDay;
    return midnight - LocalOffsetMinutes(midnight - kStandardOffsetMinutes * kSecondsPerMinute) * kSecondsPerMinute;
}

// Whether the file's records reach over the whole local day: the first local day begins, and
// the last ends, in a UTC day before or after them. (Within the records, a UTC day without a
// record is a day the card was not used.)
bool WithinRecords(const QDate& date, const CardDownload& download)
{
    return !download.days.empty() && LocalMidnight(date) >= download.days.front().dayStart
        && LocalMidnight(date.addDays(1)) <= download.days.back().dayStart + kSecondsPerDay;
}

} // namespace

std::vector<CardDay> LocalCardDays(const CardDownload& download)
{
    std::vector<LocalPiece> pieces;
    for (const Stretch& stretch : RecordedStretches(download))
        CutLocally(stretch, pieces);

    std::map<QDate, CardDay> days;
    for (const LocalPiece& piece : pieces) {
        CardDay& day = days[piece.date];
        day.date = piece.date;
        if (!day.intervals.empty() && day.intervals.back().end == piece.interval.start
            && SameActivity(day.intervals.back(), piece.interval)) {
            day.intervals.back().end = piece.interval.end;
        } else {
            day.intervals.push_back(piece.interval);
        }
    }
    ShareDistances(download, pieces, days);

    std::vector<CardDay> result;
    for (auto& [date, day] : days) {
        if (day.intervals.empty() || !WithinRecords(date, download))
            continue;
        std::stable_sort(day.intervals.begin(), day.intervals.end(),
                         [](const CardInterval& a, const CardInterval& b) { return a.start < b.start; });
        day.vehicle = DayVehicle(day, download.vehicles);
        result.push_back(std::move(day));
    }
    return result;
}
