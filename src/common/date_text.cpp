#include "common/date_text.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr int kFutureYears = 10;  // a two-digit year reaches this far past the current year
constexpr int kCentury = 100;

int FullYear(int year, int digits, const QDate& today)
{
    if (digits > 2)
        return year;
    const int latest = today.year() + kFutureYears;
    int full = latest - latest % kCentury + year;
    if (full > latest)
        full -= kCentury;
    return full;
}

std::optional<QDate> DateOf(int day, int month, const QString& yearText, const QDate& today)
{
    const int year = yearText.isEmpty() ? today.year() : FullYear(yearText.toInt(), int(yearText.size()), today);
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

}  // namespace

std::optional<QDate> ParseDateText(const QString& text, const QDate& today)
{
    const QString trimmed = text.trimmed();
    static const QRegularExpression digitsOnly(QStringLiteral("^(\\d{2})(\\d{2})(\\d{2}|\\d{4})$"));
    if (const QRegularExpressionMatch match = digitsOnly.match(trimmed); match.hasMatch())
        return DateOf(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3), today);

    static const QRegularExpression separated(
        QStringLiteral("^(\\d{1,2})\\s*[./,\\-\\s]\\s*(\\d{1,2})(?:\\s*[./,\\-\\s]\\s*(\\d{2}|\\d{4})?)?\\s*\\.?$"));
    const QRegularExpressionMatch match = separated.match(trimmed);
    if (!match.hasMatch())
        return std::nullopt;
    return DateOf(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3), today);
}

QString DateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}
