#pragma once

#include "compliance/driver_timeline.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

class Transaction;
struct SettingsValues;

// A moment of an attestation (a wall-clock date and time) on the absolute scale, and back.
Minute MinuteOfMoment(const QDateTime& moment);
QDateTime MomentOfMinute(Minute minute);

// An attestation as the gap finder sees it.
struct AttestedSpan {
    int id = -1;                // IDP
    int activity = -1;          // TIP
    Minute start = 0;           // RAZOD
    std::optional<Minute> end;  // RAZDO; none for an attestation without an end

    // What it covers: up to its end, or without one the rest of its start date (the day the
    // working-time record marks). Nothing for an end before the start.
    Span covered() const;
};

// What lies right beside a gap: a recorded activity, a summary day or an attestation.
struct GapNeighbour {
    enum class Source { Activity, Summary, Attestation };
    Source source = Source::Activity;
    int kind = 0;   // the ActivityKind code of an activity, the attested activity of an attestation
    Minute at = 0;  // where it ends (before a gap) or starts (after one)

    friend bool operator==(const GapNeighbour&, const GapNeighbour&) = default;
};

// Time without a recorded activity or an attestation, too long to be rest between records.
struct RecordGap {
    int driverId = -1;
    Span span;                           // the part within the period
    std::optional<GapNeighbour> before;  // none: nothing is known before it
    std::optional<GapNeighbour> after;   // none: nothing is known after it
    int suggestedActivity = -1;          // the activity of an attestation right beside it, or -1

    // What an attestation for it covers: from the end of what lies before to the start of what
    // follows; the gap's own ends where nothing is known.
    Span attested() const;
};

enum class ConflictKind {
    OverlapWork,         // an attestation over recorded driving or other work
    OverlapAttestation,  // two attestations over the same time
    OpenEnd,             // an attestation without an end, and records after its start
};
// "overlap-work", "overlap-attestation", "open-end".
QString ConflictCode(ConflictKind kind);
// What the conflict is, in a few Croatian words.
QString ConflictTitle(ConflictKind kind);

struct RecordConflict {
    int driverId = -1;
    ConflictKind kind = ConflictKind::OverlapWork;
    // The attestation from the first to the last minute of work under it; the time two
    // attestations both cover; from the start of one without an end to the first record after it.
    Span span;
    int attestationId = -1;
    int otherAttestationId = -1;  // the one starting later of two overlapping

    friend bool operator==(const RecordConflict&, const RecordConflict&) = default;
};

inline constexpr Minute kDefaultGapMinimum = 24 * kMinutesPerHour;
// The setting PrazninaSati (1 to 168 hours) in minutes.
Minute GapMinimumOf(const SettingsValues& values);

// Where a driver's gaps are looked for.
struct GapScope {
    Span known;   // the time whose records and attestations were read
    Span period;  // the time whose gaps and conflicts are listed, within `known`
    Minute minimum = kDefaultGapMinimum;  // shorter time without records is rest between them
};

struct GapResult {
    std::vector<RecordGap> gaps;            // by start
    std::vector<RecordConflict> conflicts;  // by start, then kind
};

// The gaps of one driver: every stretch of the known time that neither a record (an interval
// of any kind, a summary day) nor an attestation covers, at least `minimum` long as far as it
// is known, listed for its part within the period; and the conflicts that reach into the
// period.
GapResult FindGaps(const DriverTimeline& timeline, const std::vector<AttestedSpan>& attestations, const GapScope& scope);

// What lies beside a gap as the lists show it: "Vožnja do 02.03.2026 18:00", "Potvrda (bio na
// godišnjem odmoru) od ...", "Zbirni unos do ...", or "nema zapisa".
QString NeighbourText(const std::optional<GapNeighbour>& neighbour, bool before);

// A driver the gaps are looked for: key, name and the date he started with the company.
struct GapDriver {
    int id = -1;
    QString name;
    std::optional<QDate> employedSince;  // ZAPOD
};
// The active drivers (VOZAC set, AKTIVNOALL 1 or NULL) in the order of their names. Throws
// DbError.
std::vector<GapDriver> LoadActiveDrivers(Transaction& read);

struct DriverGaps {
    int driverId = -1;
    QString name;
    GapResult result;
};

// Records and attestations are read this many days around the period, for what lies beside its
// gaps and how long those that reach over its edges are.
inline constexpr int kGapLookAroundDays = 31;

// The gaps and conflicts of the days from `from` to `to` of the driver (none when there is no
// such employee), or of every active driver, in the order of their names. A driver's period
// starts no earlier than the day he started with the company and ends no later than `now`.
// Three statements whatever the number of drivers. Throws DbError.
std::vector<DriverGaps> FindRecordGaps(Transaction& read, const QDate& from, const QDate& to, std::optional<int> driverId,
                                       Minute minimum, const QDateTime& now);
