#include "compliance/compliance_check.h"

#include "settings/settings_values.h"

#include <algorithm>
#include <map>

CheckSettings CheckSettingsOf(const SettingsValues& values)
{
    return CheckSettings{std::clamp(values.referenceMonths, 1, 12), values.timeWithoutRecordsIsRest};
}

std::vector<DriverCheck> CheckDrivers(Transaction& read, const QDate& from, const QDate& to, std::optional<int> driverId,
                                      const CheckSettings& settings)
{
    std::vector<DriverCheck> checks;
    if (to < from)
        return checks;
    const auto [first, last] = CheckedDays(from, to, settings);
    std::map<int, DriverTimeline> timelines = LoadDriverTimelines(read, first, last, driverId);
    if (driverId && timelines.empty())
        timelines[*driverId].driverId = *driverId;
    std::map<int, QString> names;
    for (const CheckedDriver& driver : LoadCheckedDrivers(read))
        names[driver.id] = driver.name;
    for (const auto& [id, timeline] : timelines)
        checks.push_back(DriverCheck{id, names[id], CheckTimeline(timeline, from, to, settings)});
    std::sort(checks.begin(), checks.end(), [](const DriverCheck& a, const DriverCheck& b) {
        return a.name != b.name ? a.name < b.name : a.driverId < b.driverId;
    });
    return checks;
}

std::vector<Infringement> AllInfringements(const std::vector<DriverCheck>& checks)
{
    std::vector<Infringement> all;
    for (const DriverCheck& check : checks)
        all.insert(all.end(), check.result.infringements.begin(), check.result.infringements.end());
    return all;
}

std::array<int, kRuleCount> CountByRule(const std::vector<Infringement>& infringements)
{
    std::array<int, kRuleCount> counts{};
    for (const Infringement& infringement : infringements)
        ++counts[static_cast<size_t>(infringement.rule)];
    return counts;
}
