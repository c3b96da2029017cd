#include "compliance/compliance_rules.h"

#include "common/time_text.h"

#include <algorithm>

namespace {

// Regulation (EC) No 561/2006.
constexpr qint64 kDailyDriving = 9 * kMinutesPerHour;              // Art. 6(1)
constexpr qint64 kExtendedDailyDriving = 10 * kMinutesPerHour;     // Art. 6(1), twice a week
constexpr int kExtensionsPerWeek = 2;
constexpr qint64 kWeeklyDriving = 56 * kMinutesPerHour;            // Art. 6(2)
constexpr qint64 kFortnightDriving = 90 * kMinutesPerHour;         // Art. 6(3)
constexpr qint64 kDrivingBeforeBreak = 4 * kMinutesPerHour + 30;   // Art. 7
constexpr qint64 kBreak = 45;
constexpr qint64 kFirstBreakPart = 15;
constexpr qint64 kSecondBreakPart = 30;
constexpr qint64 kRegularDailyRest = 11 * kMinutesPerHour;         // Art. 4(g)
constexpr qint64 kReducedDailyRest = 9 * kMinutesPerHour;
constexpr qint64 kSplitRestFirstPart = 3 * kMinutesPerHour;
constexpr int kReducedDailyRests = 3;                             // Art. 8(4)
constexpr Minute kDailyRestWindow = 24 * kMinutesPerHour;          // Art. 8(2)
constexpr Minute kMultiManningWindow = 30 * kMinutesPerHour;       // Art. 8(5)
constexpr qint64 kRegularWeeklyRest = 45 * kMinutesPerHour;        // Art. 4(h)
constexpr qint64 kReducedWeeklyRest = 24 * kMinutesPerHour;
constexpr Minute kWeeklyRestDue = 6 * kMinutesPerDay;              // Art. 8(6): six 24-hour periods
constexpr int kCompensationWeeks = 3;                             // Art. 8(6): the third week after

// Directive 2002/15/EC.
constexpr qint64 kAverageWeek = 48 * kMinutesPerHour;              // Art. 4(a)
constexpr qint64 kLongestWeek = 60 * kMinutesPerHour;              // Art. 4(b)
constexpr qint64 kWorkBeforeBreak = 6 * kMinutesPerHour;           // Art. 5(1)
constexpr qint64 kLongWorkingDay = 9 * kMinutesPerHour;
constexpr qint64 kShortDayBreaks = 30;
constexpr qint64 kLongDayBreaks = 45;
constexpr qint64 kBreakPart = 15;                                 // Art. 5(2)
constexpr qint64 kNightWorkingTime = 10 * kMinutesPerHour;         // Art. 7

// How far around the period the records are read.
constexpr int kWeeksBefore = 3;
constexpr int kWeeksAfter = kCompensationWeeks;
constexpr int kDaysPerWeek = 7;

// What a minute of the driver's time holds; later states win where records overlap.
enum class State { Unknown, Summary, Rest, Availability, OtherWork, Driving };

bool IsWork(State state)
{
    return state == State::Driving || state == State::OtherWork;
}

State StateOf(ActivityKind kind)
{
    switch (kind) {
    case ActivityKind::Rest:
        return State::Rest;
    case ActivityKind::Availability:
        return State::Availability;
    case ActivityKind::OtherWork:
        return State::OtherWork;
    case ActivityKind::Driving:
        return State::Driving;
    }
    return State::Unknown;
}

struct Segment {
    Span span;
    State state = State::Unknown;
    bool multiManning = false;
    NightWindow night;
};

// Night minutes of [a, b) on the absolute scale under the window, night by night.
qint64 NightOverlap(Minute a, Minute b, NightWindow night)
{
    if (night.from == night.to || b <= a)
        return 0;
    qint64 minutes = 0;
    for (Minute day = MinuteOf(DateOfMinute(a)) - kMinutesPerDay; day < b; day += kMinutesPerDay) {
        const Minute nightStart = day + night.from;
        const Minute nightEnd = night.from > night.to ? day + kMinutesPerDay + night.to : day + night.to;
        minutes += std::max<Minute>(0, std::min(b, nightEnd) - std::max(a, nightStart));
    }
    return minutes;
}

// The driver's time from `start` to `end` as segments of one state each: where records
// overlap, the one of most work; where there is none, Unknown.
std::vector<Segment> BuildSegments(const DriverTimeline& timeline, Minute start, Minute end)
{
    struct Piece {
        Span span;
        State state;
        bool multiManning;
        NightWindow night;
    };
    std::vector<Piece> pieces;
    for (const TimelineInterval& interval : timeline.intervals) {
        const Span span{std::max(interval.start, start), std::min(interval.end, end)};
        if (span.start < span.end)
            pieces.push_back(Piece{span, StateOf(interval.kind), interval.multiManning, interval.night});
    }
    for (const SummaryDay& day : timeline.summaries) {
        const Span span{std::max(MinuteOf(day.date), start), std::min(MinuteOf(day.date) + kMinutesPerDay, end)};
        if (span.start < span.end)
            pieces.push_back(Piece{span, State::Summary, false, NightWindow{0, 0}});
    }
    struct Event {
        Minute at;
        bool opens;
        size_t piece;
    };
    std::vector<Event> events;
    events.reserve(pieces.size() * 2);
    for (size_t index = 0; index < pieces.size(); ++index) {
        events.push_back(Event{pieces[index].span.start, true, index});
        events.push_back(Event{pieces[index].span.end, false, index});
    }
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.at < b.at; });

    std::vector<Segment> segments;
    const auto append = [&segments](Segment segment) {
        if (segment.span.start >= segment.span.end)
            return;
        if (!segments.empty()) {
            Segment& last = segments.back();
            if (last.span.end == segment.span.start && last.state == segment.state
                && last.multiManning == segment.multiManning && last.night == segment.night) {
                last.span.end = segment.span.end;
                return;
            }
        }
        segments.push_back(segment);
    };
    std::vector<size_t> open;
    Minute now = start;
    size_t next = 0;
    while (next < events.size()) {
        const Minute at = events[next].at;
        if (at > now) {
            Segment segment{Span{now, at}, State::Unknown, false, NightWindow{0, 0}};
            for (size_t index : open) {
                const Piece& piece = pieces[index];
                if (segment.state == State::Unknown || piece.state > segment.state)
                    segment = Segment{Span{now, at}, piece.state, piece.multiManning, piece.night};
            }
            append(segment);
            now = at;
        }
        for (; next < events.size() && events[next].at == at; ++next) {
            if (events[next].opens)
                open.push_back(events[next].piece);
            else
                open.erase(std::find(open.begin(), open.end(), events[next].piece));
        }
    }
    if (now < end)
        append(Segment{Span{now, end}, State::Unknown, false, NightWindow{0, 0}});
    return segments;
}

// A rest as the rules see it: consecutive rest (and unknown time when it counts as rest).
struct RestRun {
    Span span;
};

struct Duty {
    Span span;               // from the end of one daily rest to the start of the next
    bool multiManning = false;
};

class Checker {
public:
    Checker(const DriverTimeline& timeline, const QDate& from, const QDate& to, const CheckSettings& settings)
        : m_timeline(timeline), m_settings(settings), m_period{MinuteOf(from), MinuteOf(to) + kMinutesPerDay}
    {
        const auto [readFrom, readTo] = CheckedDays(from, to, settings);
        m_start = MinuteOf(readFrom);
        Minute lastRecord = m_start;
        for (const TimelineInterval& interval : timeline.intervals)
            lastRecord = std::max(lastRecord, interval.end);
        for (const SummaryDay& day : timeline.summaries)
            lastRecord = std::max(lastRecord, MinuteOf(day.date) + kMinutesPerDay);
        m_end = std::min(lastRecord, MinuteOf(readTo) + kMinutesPerDay);
    }

    CheckResult run()
    {
        CheckResult result;
        if (m_end <= m_start)
            return result;
        m_segments = BuildSegments(m_timeline, m_start, m_end);
        for (const SummaryDay& day : m_timeline.summaries)
            m_summaryDays.push_back(MinuteOf(day.date));
        std::sort(m_summaryDays.begin(), m_summaryDays.end());
        buildRestRuns();
        buildDayTotals();
        findDuties();
        checkDailyDriving();
        checkDrivingBreaks();
        checkWeeklyRests();
        checkWeeks();
        checkAverage();
        checkDutyWorkingTime();

        for (const Segment& segment : m_segments) {
            const Span clipped{std::max(segment.span.start, m_period.start), std::min(segment.span.end, m_period.end)};
            if (clipped.start >= clipped.end)
                continue;
            if (segment.state == State::Unknown)
                addSpan(result.gaps, clipped);
            else if (segment.state == State::Summary)
                addSpan(result.notCheckable, clipped);
        }
        for (const Infringement& infringement : m_found) {
            if (!infringement.span.overlaps(m_period) || (dependsOnRests(infringement.rule) && touchesSummary(infringement.span)))
                continue;
            result.infringements.push_back(infringement);
        }
        std::stable_sort(result.infringements.begin(), result.infringements.end(),
                         [](const Infringement& a, const Infringement& b) {
                             return a.span.start != b.span.start ? a.span.start < b.span.start : a.rule < b.rule;
                         });
        return result;
    }

private:
    static void addSpan(std::vector<Span>& spans, const Span& span)
    {
        if (!spans.empty() && spans.back().end == span.start)
            spans.back().end = span.end;
        else
            spans.push_back(span);
    }

    static bool dependsOnRests(Rule rule)
    {
        return rule == Rule::DrivingBreaks || rule == Rule::DailyRest || rule == Rule::WeeklyRest
            || rule == Rule::WorkingTimeBreaks;
    }

    bool isRest(State state) const
    {
        return state == State::Rest || (state == State::Unknown && m_settings.gapsAsRest);
    }

    bool touchesSummary(const Span& span) const
    {
        const auto next = std::partition_point(m_summaryDays.begin(), m_summaryDays.end(),
                                               [&span](Minute day) { return day + kMinutesPerDay <= span.start; });
        return next != m_summaryDays.end() && *next < span.end;
    }

    void report(Rule rule, Span span, qint64 value, qint64 limit, std::optional<Severity> severity = std::nullopt)
    {
        m_found.push_back(Infringement{m_timeline.driverId, rule, span, value, limit, severity});
    }

    void buildRestRuns()
    {
        for (const Segment& segment : m_segments) {
            if (!isRest(segment.state))
                continue;
            if (!m_rests.empty() && m_rests.back().span.end == segment.span.start)
                m_rests.back().span.end = segment.span.end;
            else
                m_rests.push_back(RestRun{segment.span});
        }
    }

    // Driving and working minutes of every day read, summary days included.
    void buildDayTotals()
    {
        const qint64 days = (m_end - m_start + kMinutesPerDay - 1) / kMinutesPerDay;
        m_dayDriving.assign(static_cast<size_t>(days), 0);
        m_dayWork.assign(static_cast<size_t>(days), 0);
        for (const Segment& segment : m_segments) {
            if (!IsWork(segment.state))
                continue;
            for (Minute at = segment.span.start; at < segment.span.end;) {
                const Minute dayEnd = MinuteOf(DateOfMinute(at)) + kMinutesPerDay;
                const Minute until = std::min(dayEnd, segment.span.end);
                const size_t day = static_cast<size_t>((at - m_start) / kMinutesPerDay);
                m_dayWork[day] += until - at;
                if (segment.state == State::Driving)
                    m_dayDriving[day] += until - at;
                at = until;
            }
        }
        for (const SummaryDay& summary : m_timeline.summaries) {
            const Minute day = MinuteOf(summary.date);
            if (day < m_start || day >= m_end)
                continue;
            const size_t index = static_cast<size_t>((day - m_start) / kMinutesPerDay);
            m_dayDriving[index] += summary.driving;
            m_dayWork[index] += summary.driving + summary.otherWork;
        }
    }

    qint64 sumDays(const std::vector<qint64>& perDay, Minute from, Minute to) const
    {
        qint64 sum = 0;
        for (Minute day = std::max(from, m_start); day < std::min(to, m_end); day += kMinutesPerDay)
            sum += perDay[static_cast<size_t>((day - m_start) / kMinutesPerDay)];
        return sum;
    }

    // The index of the first segment that ends after the moment.
    size_t firstSegmentAfter(Minute moment) const
    {
        return static_cast<size_t>(std::partition_point(m_segments.begin(), m_segments.end(),
                                                        [moment](const Segment& s) { return s.span.end <= moment; })
                                   - m_segments.begin());
    }

    bool multiManningIn(const Span& span) const
    {
        for (size_t index = firstSegmentAfter(span.start); index < m_segments.size(); ++index) {
            const Segment& segment = m_segments[index];
            if (segment.span.start >= span.end)
                break;
            if (segment.span.overlaps(span) && segment.multiManning && IsWork(segment.state))
                return true;
        }
        return false;
    }

    // Daily rests and the duties between them (Art. 8(2), 8(4), 8(5)): from the end of one daily
    // or weekly rest, a new daily rest within 24 hours (30 when multi-manning) is the first rest
    // of which at least nine hours lie in that window. Without one, the longest rest in the window
    // is taken as the day's rest and is too short.
    void findDuties()
    {
        // Before the first record read the driver is taken to have rested, when that time counts
        // as rest; otherwise the first duty starts with the records.
        size_t next = 0;
        Minute dutyStart = m_start;
        if (!m_rests.empty() && m_rests.front().span.start == m_start) {
            dutyStart = m_rests.front().span.end;
            next = 1;
        }
        int reduced = 0;
        while (dutyStart < m_end) {
            const bool multiManning = multiManningIn(Span{dutyStart, dutyStart + kMultiManningWindow});
            const Minute windowEnd = dutyStart + (multiManning ? kMultiManningWindow : kDailyRestWindow);
            const auto portion = [&](const RestRun& rest) {
                return std::min(rest.span.end, windowEnd) - std::max(rest.span.start, dutyStart);
            };
            std::optional<size_t> taken;
            std::optional<size_t> longest;
            for (size_t index = next; index < m_rests.size() && m_rests[index].span.start < windowEnd; ++index) {
                if (portion(m_rests[index]) >= kReducedDailyRest) {
                    taken = index;
                    break;
                }
                if (!longest || portion(m_rests[index]) > portion(m_rests[*longest]))
                    longest = index;
            }
            const bool judged = windowEnd <= m_end;
            if (taken) {
                const RestRun& rest = m_rests[*taken];
                const bool weekly = rest.span.length() >= kReducedWeeklyRest;
                bool split = false;
                for (size_t index = next; index < *taken; ++index)
                    split = split || m_rests[index].span.length() >= kSplitRestFirstPart;
                if (!multiManning && !weekly && !split && portion(rest) < kRegularDailyRest && ++reduced > kReducedDailyRests)
                    report(Rule::DailyRest, Span{rest.span.start, std::min(rest.span.end, windowEnd)}, portion(rest),
                           kRegularDailyRest);
            } else if (judged) {
                const qint64 limit = !multiManning && reduced >= kReducedDailyRests ? kRegularDailyRest : kReducedDailyRest;
                if (longest) {
                    const RestRun& rest = m_rests[*longest];
                    report(Rule::DailyRest, Span{std::max(rest.span.start, dutyStart), std::min(rest.span.end, windowEnd)},
                           portion(rest), limit);
                    taken = longest;
                } else {
                    report(Rule::DailyRest, Span{dutyStart, windowEnd}, 0, limit);
                    while (next < m_rests.size() && m_rests[next].span.start < windowEnd)
                        ++next;
                    if (next < m_rests.size())
                        taken = next;
                }
            }
            if (!taken) {
                m_duties.push_back(Duty{Span{dutyStart, m_end}, multiManning});
                break;
            }
            const RestRun& rest = m_rests[*taken];
            m_duties.push_back(Duty{Span{dutyStart, rest.span.start}, multiManning});
            if (rest.span.length() >= kReducedWeeklyRest)
                reduced = 0;
            dutyStart = rest.span.end;
            next = *taken + 1;
        }
    }

    qint64 minutesIn(const Span& span, bool (*counts)(State)) const
    {
        qint64 minutes = 0;
        for (size_t index = firstSegmentAfter(span.start); index < m_segments.size(); ++index) {
            const Segment& segment = m_segments[index];
            if (segment.span.start >= span.end)
                break;
            if (counts(segment.state))
                minutes += std::max<Minute>(0, std::min(segment.span.end, span.end) - std::max(segment.span.start, span.start));
        }
        return minutes;
    }

    // Art. 6(1): driving between two daily rests; a summary day counts its day's driving.
    void checkDailyDriving()
    {
        struct DrivingDay {
            Span span;
            qint64 driving;
        };
        std::vector<DrivingDay> days;
        for (const Duty& duty : m_duties) {
            if (!touchesSummary(duty.span))
                days.push_back(DrivingDay{duty.span, minutesIn(duty.span, [](State s) { return s == State::Driving; })});
        }
        for (const SummaryDay& summary : m_timeline.summaries)
            days.push_back(DrivingDay{Span{MinuteOf(summary.date), MinuteOf(summary.date) + kMinutesPerDay}, summary.driving});
        std::sort(days.begin(), days.end(), [](const DrivingDay& a, const DrivingDay& b) { return a.span.start < b.span.start; });
        std::map<Minute, int> extensions;
        for (const DrivingDay& day : days) {
            if (day.driving <= kDailyDriving)
                continue;
            int& used = extensions[WeekStart(day.span.start)];
            const bool extensionLeft = used < kExtensionsPerWeek;
            ++used;
            const qint64 limit = extensionLeft ? kExtendedDailyDriving : kDailyDriving;
            if (day.driving > limit)
                report(Rule::DailyDriving, day.span, day.driving, limit, DailyDrivingSeverity(day.driving, limit));
        }
    }

    static std::optional<Severity> DailyDrivingSeverity(qint64 driving, qint64 limit)
    {
        // Annex I, points 2 to 7: 10 h, 11 h and 13 h 30 without the extension; 11 h, 12 h
        // and 15 h with it.
        const bool extended = limit == kExtendedDailyDriving;
        if (driving >= (extended ? 15 : 13) * kMinutesPerHour + (extended ? 0 : 30))
            return Severity::MostSerious;
        if (driving >= (extended ? 12 : 11) * kMinutesPerHour)
            return Severity::VerySerious;
        if (driving >= (extended ? 11 : 10) * kMinutesPerHour)
            return Severity::Serious;
        return std::nullopt;
    }

    static std::optional<Severity> WeeklyDrivingSeverity(qint64 driving)
    {
        // Annex I, points 8 and 9: 60 h to 65 h, 65 h to 70 h.
        if (driving >= 65 * kMinutesPerHour && driving < 70 * kMinutesPerHour)
            return Severity::VerySerious;
        if (driving >= 60 * kMinutesPerHour && driving < 65 * kMinutesPerHour)
            return Severity::Serious;
        return std::nullopt;
    }

    // Art. 7: after 4 h 30 of driving, a break of 45 minutes, or of 15 and then 30 minutes.
    void checkDrivingBreaks()
    {
        qint64 driving = 0;
        Minute periodStart = 0;
        Minute lastDriving = 0;
        bool firstPart = false;
        const auto close = [&] {
            if (driving > kDrivingBeforeBreak)
                report(Rule::DrivingBreaks, Span{periodStart, lastDriving}, driving, kDrivingBeforeBreak);
            driving = 0;
            firstPart = false;
        };
        size_t index = 0;
        while (index < m_segments.size()) {
            const Segment& segment = m_segments[index];
            if (isRest(segment.state)) {
                Minute restEnd = segment.span.end;
                while (index + 1 < m_segments.size() && isRest(m_segments[index + 1].state))
                    restEnd = m_segments[++index].span.end;
                const qint64 rest = restEnd - segment.span.start;
                if (rest >= kBreak || (firstPart && rest >= kSecondBreakPart))
                    close();
                else if (rest >= kFirstBreakPart)
                    firstPart = true;
            } else if (segment.state == State::Driving) {
                if (driving == 0)
                    periodStart = segment.span.start;
                driving += segment.span.length();
                lastDriving = segment.span.end;
            } else if (segment.state == State::Summary) {
                driving = 0;
                firstPart = false;
            }
            ++index;
        }
        close();
    }

    // Art. 8(6): weekly rests of at least 24 hours, each started within six 24-hour periods of
    // the end of the one before; in two consecutive weeks two of them, one regular; a reduced one
    // compensated en bloc, attached to a rest of at least nine hours, by the end of the third week
    // after its own. A weekly rest counts in the week it starts, or the next when that one has none.
    void checkWeeklyRests()
    {
        std::vector<const RestRun*> weekly;
        for (const RestRun& rest : m_rests) {
            if (rest.span.length() >= kReducedWeeklyRest)
                weekly.push_back(&rest);
        }
        for (size_t index = 1; index < weekly.size(); ++index) {
            const Span between{weekly[index - 1]->span.end, weekly[index]->span.start};
            if (between.length() > kWeeklyRestDue)
                report(Rule::WeeklyRest, between, between.length(), kWeeklyRestDue);
        }
        if (!weekly.empty() && m_end - weekly.back()->span.end > kWeeklyRestDue)
            report(Rule::WeeklyRest, Span{weekly.back()->span.end, m_end}, m_end - weekly.back()->span.end, kWeeklyRestDue);

        std::map<Minute, std::vector<const RestRun*>> byWeek;
        for (const RestRun* rest : weekly) {
            const Minute startWeek = WeekStart(rest->span.start);
            const Minute endWeek = WeekStart(rest->span.end - 1);
            const bool taken = byWeek.count(startWeek) != 0;
            byWeek[taken && endWeek != startWeek ? endWeek : startWeek].push_back(rest);
        }
        // A rest over a whole week (a holiday, time without records) is that week's rest as well.
        for (const RestRun* rest : weekly) {
            for (Minute week = WeekStart(rest->span.start); week + kMinutesPerWeek <= rest->span.end; week += kMinutesPerWeek) {
                std::vector<const RestRun*>& rests = byWeek[week];
                if (week >= rest->span.start && std::find(rests.begin(), rests.end(), rest) == rests.end())
                    rests.push_back(rest);
            }
        }
        // Only weeks the records cover from their start to their end are judged.
        for (Minute week = WeekStart(m_start) + (WeekStart(m_start) < m_start ? kMinutesPerWeek : 0);
             week + 2 * kMinutesPerWeek <= m_end; week += kMinutesPerWeek) {
            std::vector<qint64> lengths;
            for (Minute each : {week, week + kMinutesPerWeek}) {
                if (const auto found = byWeek.find(each); found != byWeek.end()) {
                    for (const RestRun* rest : found->second)
                        lengths.push_back(rest->span.length());
                }
            }
            std::sort(lengths.rbegin(), lengths.rend());
            const Span twoWeeks{week, week + 2 * kMinutesPerWeek};
            if (lengths.empty() || lengths[0] < kRegularWeeklyRest)
                report(Rule::WeeklyRest, twoWeeks, lengths.empty() ? 0 : lengths[0], kRegularWeeklyRest);
            else if (lengths.size() < 2)
                report(Rule::WeeklyRest, twoWeeks, 0, kReducedWeeklyRest);
        }

        std::vector<bool> used(m_rests.size(), false);
        for (const auto& [week, rests] : byWeek) {
            for (const RestRun* reducedRest : rests) {
                const qint64 deficit = kRegularWeeklyRest - reducedRest->span.length();
                if (deficit <= 0)
                    continue;
                const Minute deadline = week + (kCompensationWeeks + 1) * kMinutesPerWeek;
                if (deadline > m_end)
                    continue;
                qint64 best = 0;
                const size_t after = static_cast<size_t>(reducedRest - m_rests.data()) + 1;
                for (size_t index = after; index < m_rests.size() && m_rests[index].span.start < deadline; ++index) {
                    const RestRun& rest = m_rests[index];
                    if (used[index])
                        continue;
                    const qint64 length = rest.span.length();
                    const qint64 surplus = length >= kRegularWeeklyRest ? length - kRegularWeeklyRest
                                         : length < kReducedWeeklyRest ? length - kReducedDailyRest
                                                                       : 0;
                    if (surplus >= deficit) {
                        used[index] = true;
                        best = surplus;
                        break;
                    }
                    best = std::max(best, surplus);
                }
                if (best < deficit)
                    report(Rule::WeeklyRest, reducedRest->span, best, deficit);
            }
        }
    }

    // Art. 6(2), 6(3), 2002/15 Art. 4(b): sums of the fixed weeks, Monday 00:00 to Sunday 24:00.
    void checkWeeks()
    {
        for (Minute week = WeekStart(m_start); week < m_end; week += kMinutesPerWeek) {
            const Span span{week, week + kMinutesPerWeek};
            const qint64 driving = sumDays(m_dayDriving, span.start, span.end);
            if (driving > kWeeklyDriving)
                report(Rule::WeeklyDriving, span, driving, kWeeklyDriving, WeeklyDrivingSeverity(driving));
            const qint64 twoWeeks = driving + sumDays(m_dayDriving, span.end, span.end + kMinutesPerWeek);
            if (twoWeeks > kFortnightDriving)
                report(Rule::FortnightDriving, Span{week, week + 2 * kMinutesPerWeek}, twoWeeks, kFortnightDriving);
            const qint64 work = sumDays(m_dayWork, span.start, span.end);
            if (work > kLongestWeek)
                report(Rule::WeeklyWorkingTime, span, work, kLongestWeek);
        }
    }

    // 2002/15 Art. 4(a): the average week over each whole reference period.
    void checkAverage()
    {
        for (QDate first = ReferencePeriod(DateOfMinute(m_period.start), m_settings.referenceMonths).first;
             MinuteOf(first) < m_period.end;) {
            const QDate last = ReferencePeriod(first, m_settings.referenceMonths).second;
            const qint64 days = first.daysTo(last) + 1;
            const qint64 work = sumDays(m_dayWork, MinuteOf(first), MinuteOf(last) + kMinutesPerDay);
            const qint64 average = work * kDaysPerWeek / days;
            if (average > kAverageWeek)
                report(Rule::AverageWorkingTime, Span{MinuteOf(first), MinuteOf(last) + kMinutesPerDay}, average, kAverageWeek);
            first = last.addDays(1);
        }
    }

    // 2002/15 Art. 5 and 7, duty by duty; a summary day by its sums for Art. 7. A break is
    // rest of at least 15 minutes between two pieces of work of the duty.
    void checkDutyWorkingTime()
    {
        for (const Duty& duty : m_duties) {
            if (touchesSummary(duty.span))
                continue;
            qint64 work = 0;
            qint64 breaks = 0;
            qint64 pendingBreak = 0;
            qint64 stretch = 0;
            Minute stretchStart = 0;
            std::optional<Minute> firstWork;
            Minute lastWork = duty.span.start;
            const auto closeStretch = [&] {
                if (stretch > kWorkBeforeBreak)
                    report(Rule::WorkingTimeBreaks, Span{stretchStart, lastWork}, stretch, kWorkBeforeBreak);
                stretch = 0;
            };
            for (size_t index = firstSegmentAfter(duty.span.start); index < m_segments.size(); ++index) {
                const Segment& segment = m_segments[index];
                if (segment.span.start >= duty.span.end)
                    break;
                if (IsWork(segment.state)) {
                    if (!firstWork)
                        firstWork = segment.span.start;
                    if (stretch == 0)
                        stretchStart = segment.span.start;
                    breaks += pendingBreak;
                    pendingBreak = 0;
                    work += segment.span.length();
                    stretch += segment.span.length();
                    lastWork = segment.span.end;
                } else if (isRest(segment.state)) {
                    Minute restEnd = segment.span.end;
                    while (index + 1 < m_segments.size() && isRest(m_segments[index + 1].state)
                           && m_segments[index + 1].span.start < duty.span.end)
                        restEnd = m_segments[++index].span.end;
                    const qint64 rest = std::min(restEnd, duty.span.end) - segment.span.start;
                    if (rest >= kBreakPart && firstWork) {
                        pendingBreak += rest;
                        closeStretch();
                    }
                }
            }
            closeStretch();
            if (!firstWork)
                continue;
            const qint64 needed = work > kLongWorkingDay ? kLongDayBreaks : work > kWorkBeforeBreak ? kShortDayBreaks : 0;
            if (breaks < needed)
                report(Rule::WorkingTimeBreaks, Span{*firstWork, lastWork}, breaks, needed);
            checkNightWork(Span{*firstWork, std::min(*firstWork + kMinutesPerDay, duty.span.end)});
        }
        for (const SummaryDay& summary : m_timeline.summaries) {
            const qint64 work = summary.driving + summary.otherWork;
            if (summary.nightWork > 0 && work > kNightWorkingTime)
                report(Rule::NightWorkingTime, Span{MinuteOf(summary.date), MinuteOf(summary.date) + kMinutesPerDay}, work,
                       kNightWorkingTime);
        }
    }

    // Art. 7: with night work, at most 10 hours of working time in the day's work (from its start,
    // at most 24 hours), each interval's night as its own entry sets it.
    void checkNightWork(const Span& window)
    {
        qint64 work = 0;
        qint64 night = 0;
        Minute lastWork = window.start;
        for (size_t index = firstSegmentAfter(window.start); index < m_segments.size(); ++index) {
            const Segment& segment = m_segments[index];
            if (segment.span.start >= window.end)
                break;
            if (!IsWork(segment.state) || segment.span.end <= window.start)
                continue;
            const Span part{std::max(segment.span.start, window.start), std::min(segment.span.end, window.end)};
            work += part.length();
            night += NightOverlap(part.start, part.end, segment.night);
            lastWork = part.end;
        }
        if (night > 0 && work > kNightWorkingTime)
            report(Rule::NightWorkingTime, Span{window.start, lastWork}, work, kNightWorkingTime);
    }

    const DriverTimeline& m_timeline;
    CheckSettings m_settings;
    Span m_period;
    Minute m_start = 0;
    Minute m_end = 0;
    std::vector<Segment> m_segments;
    std::vector<Minute> m_summaryDays;  // the starts of the summary days, in order
    std::vector<RestRun> m_rests;
    std::vector<Duty> m_duties;
    std::vector<qint64> m_dayDriving;
    std::vector<qint64> m_dayWork;
    std::vector<Infringement> m_found;
};

}  // namespace

QString RuleCode(Rule rule)
{
    switch (rule) {
    case Rule::DailyDriving:
        return QStringLiteral("561/6.1");
    case Rule::WeeklyDriving:
        return QStringLiteral("561/6.2");
    case Rule::FortnightDriving:
        return QStringLiteral("561/6.3");
    case Rule::DrivingBreaks:
        return QStringLiteral("561/7");
    case Rule::DailyRest:
        return QStringLiteral("561/8.2");
    case Rule::WeeklyRest:
        return QStringLiteral("561/8.6");
    case Rule::AverageWorkingTime:
        return QStringLiteral("2002/15/4a");
    case Rule::WeeklyWorkingTime:
        return QStringLiteral("2002/15/4b");
    case Rule::WorkingTimeBreaks:
        return QStringLiteral("2002/15/5");
    case Rule::NightWorkingTime:
        return QStringLiteral("2002/15/7");
    }
    return QString();
}

QString RuleTitle(Rule rule)
{
    switch (rule) {
    case Rule::DailyDriving:
        return QStringLiteral("Dnevno vrijeme vožnje");
    case Rule::WeeklyDriving:
        return QStringLiteral("Tjedno vrijeme vožnje");
    case Rule::FortnightDriving:
        return QStringLiteral("Vožnja u dva uzastopna tjedna");
    case Rule::DrivingBreaks:
        return QStringLiteral("Stanke u vožnji");
    case Rule::DailyRest:
        return QStringLiteral("Dnevni odmor");
    case Rule::WeeklyRest:
        return QStringLiteral("Tjedni odmor");
    case Rule::AverageWorkingTime:
        return QStringLiteral("Prosječno tjedno radno vrijeme");
    case Rule::WeeklyWorkingTime:
        return QStringLiteral("Tjedno radno vrijeme");
    case Rule::WorkingTimeBreaks:
        return QStringLiteral("Stanke u radnom vremenu");
    case Rule::NightWorkingTime:
        return QStringLiteral("Radno vrijeme uz noćni rad");
    }
    return QString();
}

QString SeverityCode(Severity severity)
{
    switch (severity) {
    case Severity::Minor:
        return QStringLiteral("MI");
    case Severity::Serious:
        return QStringLiteral("SI");
    case Severity::VerySerious:
        return QStringLiteral("VSI");
    case Severity::MostSerious:
        return QStringLiteral("MSI");
    }
    return QString();
}

QString InfringementSentence(const Infringement& infringement)
{
    const QString value = FormatMinutes(static_cast<int>(infringement.value));
    const QString limit = FormatMinutes(static_cast<int>(infringement.limit));
    switch (infringement.rule) {
    case Rule::DailyDriving:
        return QStringLiteral("Vožnja između dva dnevna odmora trajala je %1, a dopušteno je %2.").arg(value, limit);
    case Rule::WeeklyDriving:
        return QStringLiteral("U tjednu je vožnja trajala %1, a dopušteno je %2.").arg(value, limit);
    case Rule::FortnightDriving:
        return QStringLiteral("U dva uzastopna tjedna vožnja je trajala %1, a dopušteno je %2.").arg(value, limit);
    case Rule::DrivingBreaks:
        return QStringLiteral("Vožnja od %1 bez stanke od 45 minuta (ili 15 pa 30 minuta); stanka je obvezna nakon %2.")
            .arg(value, limit);
    case Rule::DailyRest:
        return QStringLiteral("Dnevni odmor trajao je %1, a propisano je najmanje %2.").arg(value, limit);
    case Rule::WeeklyRest:
        if (infringement.limit == kWeeklyRestDue)
            return QStringLiteral("Tjedni odmor započeo je %1 nakon prethodnoga, a najkasnije smije nakon šest razdoblja "
                                  "od 24 sata (%2).").arg(value, limit);
        if (infringement.limit == kRegularWeeklyRest)
            return QStringLiteral("U dva uzastopna tjedna nema redovnog tjednog odmora: najdulji je trajao %1, a redovni "
                                  "traje najmanje %2.").arg(value, limit);
        if (infringement.limit == kReducedWeeklyRest)
            return QStringLiteral("U dva uzastopna tjedna nedostaje drugi tjedni odmor od najmanje %1.").arg(limit);
        return QStringLiteral("Skraćeni tjedni odmor nije nadoknađen do kraja trećeg tjedna: nadoknađeno %1 od %2.")
            .arg(value, limit);
    case Rule::AverageWorkingTime:
        return QStringLiteral("Prosječno tjedno radno vrijeme u referentnom razdoblju iznosi %1, a dopušteno je %2.")
            .arg(value, limit);
    case Rule::WeeklyWorkingTime:
        return QStringLiteral("U tjednu je radno vrijeme iznosilo %1, a najviše je dopušteno %2.").arg(value, limit);
    case Rule::WorkingTimeBreaks:
        if (infringement.limit == kWorkBeforeBreak)
            return QStringLiteral("Rad od %1 bez stanke od najmanje 15 minuta; bez stanke smije se raditi najviše %2.")
                .arg(value, limit);
        return QStringLiteral("Stanke u radnom vremenu dana trajale su %1, a potrebno je najmanje %2.").arg(value, limit);
    case Rule::NightWorkingTime:
        return QStringLiteral("Uz noćni rad radno vrijeme u 24 sata iznosilo je %1, a dopušteno je %2.").arg(value, limit);
    }
    return QString();
}

std::pair<QDate, QDate> CheckedDays(const QDate& from, const QDate& to, const CheckSettings& settings)
{
    const QDate monday = from.addDays(1 - from.dayOfWeek()).addDays(-kWeeksBefore * kDaysPerWeek);
    const QDate sunday = to.addDays(kDaysPerWeek - to.dayOfWeek()).addDays(kWeeksAfter * kDaysPerWeek);
    return {std::min(monday, ReferencePeriod(from, settings.referenceMonths).first),
            std::max(sunday, ReferencePeriod(to, settings.referenceMonths).second)};
}

CheckResult CheckTimeline(const DriverTimeline& timeline, const QDate& from, const QDate& to, const CheckSettings& settings)
{
    return Checker(timeline, from, to, settings).run();
}
