#pragma once

#include <QDate>
#include <QString>

#include <optional>

// A date as the operator types it: day, month and year separated by dots (or by "/", "-", ","
// or blanks), with or without leading zeros and a closing dot ("15.03.2025", "1.3.2025.",
// "15/3/2025"), or the digits alone ("15032025", "150325"). A two-digit year is taken in the
// hundred years that end ten years after `today`'s year; without a year ("15.3.") the year of
// `today`. Blanks around the text are ignored. Nothing for a text that is no calendar date.
std::optional<QDate> ParseDateText(const QString& text, const QDate& today);

// "dd.MM.yyyy", as date fields show a date.
QString DateText(const QDate& date);
