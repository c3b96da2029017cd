#pragma once

#include <QString>

#include <optional>

// How the record windows read what the operator typed into their fields.

// A whole number as typed: blanks around it, an optional sign and decimal digits that fit a
// 32-bit integer. Anything else gives nothing.
std::optional<int> ParseWholeNumber(const QString& text);

// The whole number of a field, or the fallback when the text does not hold one.
int WholeNumberOr(const QString& text, int fallback);

// What "Matični broj" shows once left: the number without leading zeros, and an empty text for
// 0 or for a text that is not a whole number.
QString RegistrationNumberText(const QString& text);

// Whether a job title names a driver: "vozač", "vozac", "vozačica" or "vozacica" in any mix
// of case, blanks around it allowed.
bool IsDriverJobTitle(const QString& jobTitle);
