#pragma once

#include "compliance/driver_timeline.h"
#include "worktime/reference_period.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The rules checked: Regulation (EC) No 561/2006 (driving times, breaks, rest periods) and
// Directive 2002/15/EC (working time of mobile workers).
enum class Rule {
    DailyDriving,         // 561/2006 Art. 6(1): 9 h, 10 h at most twice a week
    WeeklyDriving,        // 561/2006 Art. 6(2): 56 h in a week
    FortnightDriving,     // 561/2006 Art. 6(3): 90 h in two consecutive weeks
    DrivingBreaks,        // 561/2006 Art. 7: 45 min (or 15 + 30) after 4 h 30 of driving
    DailyRest,            // 561/2006 Art. 8(2), 8(4), 8(5): daily rest
    WeeklyRest,           // 561/2006 Art. 8(6): weekly rest
    AverageWorkingTime,   // 2002/15/EC Art. 4(a): 48 h a week on average over the reference period
    WeeklyWorkingTime,    // 2002/15/EC Art. 4(b): 60 h in one week
    WorkingTimeBreaks,    // 2002/15/EC Art. 5: breaks in working time
    NightWorkingTime,     // 2002/15/EC Art. 7: 10 h of working time in 24 h with night work
};
inline constexpr int kRuleCount = 10;
inline constexpr std::array<Rule, kRuleCount> kRules{
    Rule::DailyDriving,       Rule::WeeklyDriving,     Rule::FortnightDriving,  Rule::DrivingBreaks,
    Rule::DailyRest,          Rule::WeeklyRest,        Rule::AverageWorkingTime, Rule::WeeklyWorkingTime,
    Rule::WorkingTimeBreaks,  Rule::NightWorkingTime};

// "561/6.1" .. "2002/15/7".
QString RuleCode(Rule rule);
// What the rule asks, in a few Croatian words ("Dnevno vrijeme vožnje").
QString RuleTitle(Rule rule);

// The degree of an infringement in Annex I of Commission Regulation (EU) 2016/403.
enum class Severity { Minor, Serious, VerySerious, MostSerious };
// "MI", "SI", "VSI", "MSI".
QString SeverityCode(Severity severity);

struct Infringement {
    int driverId = -1;
    Rule rule = Rule::DailyDriving;
    Span span;          // what breaks the rule: the driving period, the week, the rest too short
    qint64 value = 0;   // minutes
    qint64 limit = 0;   // minutes
    std::optional<Severity> severity;  // none where the annex gives none for this value

    friend bool operator==(const Infringement&, const Infringement&) = default;
};

// A plain Croatian sentence for the infringement.
QString InfringementSentence(const Infringement& infringement);

struct CheckSettings {
    // Reference period of the 48-hour average, in calendar months from January.
    int referenceMonths = kDefaultReferenceMonths;
    // Whether time without any record counts as rest for the rest and break rules.
    bool gapsAsRest = true;
};

// What one driver's check found within the period.
struct CheckResult {
    std::vector<Infringement> infringements;  // by start, then rule
    std::vector<Span> gaps;                   // time without any record, within the period
    std::vector<Span> notCheckable;           // summary days: sums only, no breaks or rests
};

// The days that must be read to check [from, to]: whole weeks, the weeks before that the
// weekly rest and the fortnight look back to, the weeks after that the compensation of a
// reduced weekly rest looks forward to, and the whole reference periods of the average.
std::pair<QDate, QDate> CheckedDays(const QDate& from, const QDate& to, const CheckSettings& settings);

// Checks what is recorded of one driver, read over CheckedDays(from, to), and returns what
// lies in the days from `from` to `to`. Time before the first record and after the last one
// read is not known and is not checked.
CheckResult CheckTimeline(const DriverTimeline& timeline, const QDate& from, const QDate& to,
                          const CheckSettings& settings);
