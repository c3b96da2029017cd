#include "db/sql_parameters.h"

namespace {

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool IsNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Index just past the quoted text or comment that starts at i, or i when none starts there.
qsizetype SkipQuotedOrComment(const QString& s, qsizetype i)
{
    const QChar c = s[i];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        qsizetype j = i + 1;
        while (j < s.size()) {
            if (s[j] == c) {
                if (j + 1 < s.size() && s[j + 1] == c) {  // doubled quote inside the text
                    j += 2;
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return s.size();
    }
    if (c == QLatin1Char('-') && i + 1 < s.size() && s[i + 1] == QLatin1Char('-')) {
        const qsizetype end = s.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? s.size() : end;
    }
    if (c == QLatin1Char('/') && i + 1 < s.size() && s[i + 1] == QLatin1Char('*')) {
        const qsizetype end = s.indexOf(QLatin1String("*/"), i + 2);
        return end < 0 ? s.size() : end + 2;
    }
    return i;
}

}  // namespace

PositionalSql ToPositionalSql(const QString& namedSql)
{
    PositionalSql result;
    result.sql.reserve(namedSql.size());
    qsizetype i = 0;
    while (i < namedSql.size()) {
        const qsizetype skipped = SkipQuotedOrComment(namedSql, i);
        if (skipped != i) {
            result.sql += QStringView(namedSql).mid(i, skipped - i);
            i = skipped;
            continue;
        }
        const QChar c = namedSql[i];
        const bool afterName = i > 0 && IsNamePart(namedSql[i - 1]);
        if (c == QLatin1Char(':') && !afterName && i + 1 < namedSql.size() && IsNameStart(namedSql[i + 1])) {
            qsizetype end = i + 1;
            while (end < namedSql.size() && IsNamePart(namedSql[end]))
                ++end;
            result.positionNames << namedSql.mid(i + 1, end - i - 1).toUpper();
            result.sql += QLatin1Char('?');
            i = end;
            continue;
        }
        result.sql += c;
        ++i;
    }
    return result;
}
