#pragma once

#include "compliance/compliance_rules.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class Transaction;
struct SettingsValues;

// The settings of the checks: RefMjeseci (1 to 12) and PraznineOdmor.
CheckSettings CheckSettingsOf(const SettingsValues& values);

// What the check found of one driver.
struct DriverCheck {
    int driverId = -1;
    QString name;
    CheckResult result;
};

// Checks every driver with records around the days from `from` to `to` (or only the one
// given, records or not), reading the days the rules need (CheckedDays) in one statement.
// Drivers by name, then id. Throws DbError.
std::vector<DriverCheck> CheckDrivers(Transaction& read, const QDate& from, const QDate& to, std::optional<int> driverId,
                                      const CheckSettings& settings);

// The infringements of every driver, in the drivers' order.
std::vector<Infringement> AllInfringements(const std::vector<DriverCheck>& checks);

// How many infringements of each rule, indexed as kRules.
std::array<int, kRuleCount> CountByRule(const std::vector<Infringement>& infringements);
