#include "masterdata/record_fields.h"

#include <QStringList>

#include <limits>

std::optional<int> ParseWholeNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype at = 0;
    bool negative = false;
    if (at < trimmed.size() && (trimmed[at] == QLatin1Char('+') || trimmed[at] == QLatin1Char('-'))) {
        negative = trimmed[at] == QLatin1Char('-');
        ++at;
    }
    if (at == trimmed.size())
        return std::nullopt;
    qint64 value = 0;
    for (; at < trimmed.size(); ++at) {
        const QChar c = trimmed[at];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

int WholeNumberOr(const QString& text, int fallback)
{
    return ParseWholeNumber(text).value_or(fallback);
}

QString RegistrationNumberText(const QString& text)
{
    const int number = WholeNumberOr(text, 0);
    return number == 0 ? QString() : QString::number(number);
}

bool IsDriverJobTitle(const QString& jobTitle)
{
    static const QStringList kDriverWords{QStringLiteral("vozač"), QStringLiteral("vozac"),
                                          QStringLiteral("vozačica"), QStringLiteral("vozacica")};
    return kDriverWords.contains(jobTitle.trimmed().toLower());
}
