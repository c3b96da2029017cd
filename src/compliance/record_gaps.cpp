#include "compliance/record_gaps.h"

#include "attestation/attestation_periods.h"
#include "attestation/attestation_record.h"
#include "common/name_order.h"
#include "db/scopes.h"
#include "db/statement.h"
#include "settings/settings_values.h"

#include <QTime>

#include <algorithm>
#include <limits>
#include <map>

namespace {

constexpr int kLongestGapMinimumHours = 7 * 24;

// Something that covers time: a recorded interval, a summary day or an attestation.
struct Piece {
    Span span;
    GapNeighbour::Source source;
    int kind;
};

// Consecutive covered time, with the piece it starts with and the one it ends with.
struct Covered {
    Span span;
    const Piece* first;
    const Piece* last;
};

bool IsWork(ActivityKind kind)
{
    return kind == ActivityKind::Driving || kind == ActivityKind::OtherWork;
}

Span DaySpan(const QDate& date)
{
    return Span{MinuteOf(date), MinuteOf(date) + kMinutesPerDay};
}

std::vector<Piece> RecordPieces(const DriverTimeline& timeline)
{
    std::vector<Piece> pieces;
    for (const TimelineInterval& interval : timeline.intervals)
        pieces.push_back(Piece{Span{interval.start, interval.end}, GapNeighbour::Source::Activity, ActivityCode(interval.kind)});
    for (const SummaryDay& day : timeline.summaries)
        pieces.push_back(Piece{DaySpan(day.date), GapNeighbour::Source::Summary, 0});
    return pieces;
}

std::vector<Covered> Merge(const std::vector<Piece>& pieces)
{
    std::vector<Covered> merged;
    for (const Piece& piece : pieces) {
        if (merged.empty() || piece.span.start > merged.back().span.end) {
            merged.push_back(Covered{piece.span, &piece, &piece});
        } else if (piece.span.end > merged.back().span.end) {
            merged.back().span.end = piece.span.end;
            merged.back().last = &piece;
        }
    }
    return merged;
}

GapNeighbour NeighbourOf(const Piece& piece, Minute at)
{
    return GapNeighbour{piece.source, piece.kind, at};
}

int SuggestedActivity(const std::optional<GapNeighbour>& before, const std::optional<GapNeighbour>& after)
{
    for (const std::optional<GapNeighbour>& side : {before, after}) {
        if (side && side->source == GapNeighbour::Source::Attestation)
            return side->kind;
    }
    return -1;
}

void FindConflicts(const DriverTimeline& timeline, std::vector<AttestedSpan> attestations, const Span& period,
                   std::vector<RecordConflict>& conflicts)
{
    std::sort(attestations.begin(), attestations.end(), [](const AttestedSpan& a, const AttestedSpan& b) {
        return a.covered().start != b.covered().start ? a.covered().start < b.covered().start : a.id < b.id;
    });
    std::vector<Span> work;
    for (const TimelineInterval& interval : timeline.intervals) {
        if (IsWork(interval.kind))
            work.push_back(Span{interval.start, interval.end});
    }
    for (const SummaryDay& day : timeline.summaries) {
        if (day.driving + day.otherWork > 0)
            work.push_back(DaySpan(day.date));
    }
    const std::vector<Piece> records = RecordPieces(timeline);
    std::vector<RecordConflict> found;
    const int driver = timeline.driverId;
    for (size_t i = 0; i < attestations.size(); ++i) {
        const AttestedSpan& attestation = attestations[i];
        const Span covered = attestation.covered();
        if (covered.length() <= 0)
            continue;
        Span underWork{std::numeric_limits<Minute>::max(), std::numeric_limits<Minute>::min()};
        for (const Span& span : work) {
            if (span.overlaps(covered)) {
                underWork.start = std::min(underWork.start, std::max(span.start, covered.start));
                underWork.end = std::max(underWork.end, std::min(span.end, covered.end));
            }
        }
        if (underWork.start < underWork.end)
            found.push_back(RecordConflict{driver, ConflictKind::OverlapWork, underWork, attestation.id});
        for (size_t j = i + 1; j < attestations.size() && attestations[j].covered().start < covered.end; ++j) {
            const Span other = attestations[j].covered();
            if (other.length() > 0 && other.overlaps(covered)) {
                found.push_back(RecordConflict{driver, ConflictKind::OverlapAttestation,
                                               Span{other.start, std::min(covered.end, other.end)}, attestation.id,
                                               attestations[j].id});
            }
        }
        if (!attestation.end) {
            std::optional<Minute> next;
            for (const Piece& record : records) {
                if (record.span.start > attestation.start && (!next || record.span.start < *next))
                    next = record.span.start;
            }
            if (next)
                found.push_back(RecordConflict{driver, ConflictKind::OpenEnd, Span{attestation.start, *next}, attestation.id});
        }
    }
    for (const RecordConflict& conflict : found) {
        if (conflict.span.overlaps(period))
            conflicts.push_back(conflict);
    }
    std::stable_sort(conflicts.begin(), conflicts.end(), [](const RecordConflict& a, const RecordConflict& b) {
        return a.span.start != b.span.start ? a.span.start < b.span.start : a.kind < b.kind;
    });
}

}  // namespace

Minute MinuteOfMoment(const QDateTime& moment)
{
    return MinuteOf(moment.date(), moment.time().hour() * kMinutesPerHour + moment.time().minute());
}

QDateTime MomentOfMinute(Minute minute)
{
    const QDate date = DateOfMinute(minute);
    const int ofDay = static_cast<int>(minute - MinuteOf(date));
    return QDateTime(date, QTime(ofDay / kMinutesPerHour, ofDay % kMinutesPerHour), Qt::UTC);
}

Span AttestedSpan::covered() const
{
    const Minute until = end ? *end : MinuteOf(DateOfMinute(start)) + kMinutesPerDay;
    return Span{start, std::max(start, until)};
}

Span RecordGap::attested() const
{
    return Span{before ? before->at : span.start, after ? after->at : span.end};
}

QString ConflictCode(ConflictKind kind)
{
    switch (kind) {
    case ConflictKind::OverlapWork:
        return QStringLiteral("overlap-work");
    case ConflictKind::OverlapAttestation:
        return QStringLiteral("overlap-attestation");
    case ConflictKind::OpenEnd:
        return QStringLiteral("open-end");
    }
    return QString();
}

QString ConflictTitle(ConflictKind kind)
{
    switch (kind) {
    case ConflictKind::OverlapWork:
        return QStringLiteral("Potvrda preko zabilježene vožnje ili rada");
    case ConflictKind::OverlapAttestation:
        return QStringLiteral("Dvije potvrde za isto vrijeme");
    case ConflictKind::OpenEnd:
        return QStringLiteral("Potvrda bez \"Do\", a iza nje ima zapisa");
    }
    return QString();
}

Minute GapMinimumOf(const SettingsValues& values)
{
    return std::clamp(values.shortestGapHours, 1, kLongestGapMinimumHours) * Minute(kMinutesPerHour);
}

GapResult FindGaps(const DriverTimeline& timeline, const std::vector<AttestedSpan>& attestations, const GapScope& scope)
{
    GapResult result;
    // A driver who starts with the company after the period, or a period still to come.
    if (scope.period.length() <= 0)
        return result;
    std::vector<Piece> pieces = RecordPieces(timeline);
    for (const AttestedSpan& attestation : attestations) {
        if (attestation.covered().length() > 0)
            pieces.push_back(Piece{attestation.covered(), GapNeighbour::Source::Attestation, attestation.activity});
    }
    std::sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) {
        return a.span.start != b.span.start ? a.span.start < b.span.start : a.source < b.source;
    });

    const auto consider = [&](Span hole, std::optional<GapNeighbour> before, std::optional<GapNeighbour> after) {
        const Span listed{std::max(hole.start, scope.period.start), std::min(hole.end, scope.period.end)};
        if (hole.length() < scope.minimum || listed.start >= listed.end)
            return;
        result.gaps.push_back(RecordGap{timeline.driverId, listed, before, after, SuggestedActivity(before, after)});
    };
    Minute cursor = scope.known.start;
    std::optional<GapNeighbour> before;
    for (const Covered& covered : Merge(pieces)) {
        if (covered.span.start > cursor)
            consider(Span{cursor, covered.span.start}, before, NeighbourOf(*covered.first, covered.span.start));
        cursor = std::max(cursor, covered.span.end);
        before = NeighbourOf(*covered.last, covered.span.end);
    }
    if (cursor < scope.known.end)
        consider(Span{cursor, scope.known.end}, before, std::nullopt);

    FindConflicts(timeline, attestations, scope.period, result.conflicts);
    return result;
}

QString NeighbourText(const std::optional<GapNeighbour>& neighbour, bool before)
{
    if (!neighbour)
        return QStringLiteral("nema zapisa");
    QString what;
    switch (neighbour->source) {
    case GapNeighbour::Source::Activity:
        what = ActivityKindFromCode(neighbour->kind) ? ActivityShortName(*ActivityKindFromCode(neighbour->kind)) : QString();
        break;
    case GapNeighbour::Source::Summary:
        what = QStringLiteral("Zbirni unos");
        break;
    case GapNeighbour::Source::Attestation:
        what = QStringLiteral("Potvrda (%1)").arg(AttestedActivityTexts().value(neighbour->kind));
        break;
    }
    return what + (before ? QStringLiteral(" do ") : QStringLiteral(" od ")) + MinuteText(neighbour->at);
}

namespace {

std::vector<GapDriver> LoadGapDrivers(Transaction& read, std::optional<int> driverId)
{
    ReadScope scope(read);
    Statement sql(read);
    sql.prepare(driverId ? QStringLiteral("SELECT IDDJ,IMEPREZIME,ZAPOD FROM DJELATNICI WHERE IDDJ=:ID")
                         : QStringLiteral("SELECT IDDJ,IMEPREZIME,ZAPOD FROM DJELATNICI\n"
                                          "WHERE (AKTIVNOALL<>0 OR AKTIVNOALL IS NULL) AND VOZAC<>0"));
    if (driverId)
        sql.setInt(QStringLiteral("ID"), *driverId);
    sql.execute();
    std::vector<GapDriver> drivers;
    while (sql.next()) {
        if (const std::optional<int> id = sql.int32Value(0)) {
            std::optional<QDate> employed = sql.dateValue(2);
            // Day 0 stands for a date not given.
            if (employed && *employed <= DayZero())
                employed.reset();
            drivers.push_back(GapDriver{*id, sql.textOr(1, QString()), employed});
        }
    }
    SortByName(drivers, [](const GapDriver& driver) { return driver.name; });
    return drivers;
}

}  // namespace

std::vector<GapDriver> LoadActiveDrivers(Transaction& read)
{
    return LoadGapDrivers(read, std::nullopt);
}

std::vector<DriverGaps> FindRecordGaps(Transaction& read, const QDate& from, const QDate& to, std::optional<int> driverId,
                                       Minute minimum, const QDateTime& now)
{
    std::vector<DriverGaps> found;
    if (to < from)
        return found;
    const std::vector<GapDriver> drivers = LoadGapDrivers(read, driverId);
    if (drivers.empty())
        return found;
    const QDate readFrom = from.addDays(-kGapLookAroundDays);
    const QDate readTo = to.addDays(kGapLookAroundDays);
    std::map<int, DriverTimeline> timelines = LoadDriverTimelines(read, readFrom, readTo, driverId);
    std::map<int, std::vector<AttestedSpan>> attestations;
    for (const AttestationPeriod& period :
         LoadAttestationPeriods(read, QDateTime(readFrom, QTime(0, 0), Qt::UTC),
                                QDateTime(readTo.addDays(1), QTime(0, 0), Qt::UTC), driverId)) {
        attestations[period.driverId].push_back(AttestedSpan{
            period.id, period.activity, MinuteOfMoment(period.start),
            period.end ? std::optional<Minute>(MinuteOfMoment(*period.end)) : std::nullopt});
    }
    const Minute last = MinuteOfMoment(now);
    for (const GapDriver& driver : drivers) {
        const Minute employed = driver.employedSince ? MinuteOf(*driver.employedSince) : std::numeric_limits<Minute>::min();
        GapScope scope;
        scope.known = Span{std::max(MinuteOf(readFrom), employed), std::min(MinuteOf(readTo) + kMinutesPerDay, last)};
        scope.period = Span{std::max(MinuteOf(from), employed), std::min(MinuteOf(to) + kMinutesPerDay, last)};
        scope.minimum = minimum;
        DriverTimeline& timeline = timelines[driver.id];
        timeline.driverId = driver.id;
        found.push_back(DriverGaps{driver.id, driver.name, FindGaps(timeline, attestations[driver.id], scope)});
    }
    return found;
}
