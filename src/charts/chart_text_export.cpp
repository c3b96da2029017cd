#include "charts/chart_text_export.h"

#include "common/time_text.h"

namespace {

QString ActivityText(int code)
{
    switch (code) {
    case kRest:
        return QStringLiteral("Odmor");
    case kAvailability:
        return QStringLiteral("Spremnost");
    case kOtherWork:
        return QStringLiteral("Ostali rad");
    case kDriving:
        return QStringLiteral("Vožnja");
    }
    return QString();
}

} // namespace

QStringList ChartExportLines(const std::vector<DayInterval>& intervals, ChartExportKind kind,
                             const QDateTime& now)
{
    const bool whole = kind == ChartExportKind::WholeChart;
    const QString stamp = now.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    QStringList lines;
    lines << (whole ? QStringLiteral("MIRELTOSA||KTS2||") : QStringLiteral("MIRELTOSA||KTS||")) + stamp;
    lines << QString();
    lines << (whole ? QStringLiteral("Aktivnost\tOd\tDo\tTrajanje\tDan\tOpis")
                    : QStringLiteral("Aktivnost\tOd\tDo\tTrajanje\tOpis"));
    const int onlyDay = kind == ChartExportKind::Day1 ? 1 : 2;
    for (const DayInterval& row : intervals) {
        if (!whole && row.day != onlyDay)
            continue;
        const ChartInterval& i = row.interval;
        QStringList fields{QString::number(i.code), FormatMinutes(i.start), FormatMinutes(i.end),
                           FormatMinutes(i.length())};
        if (whole)
            fields << QString::number(row.day);
        fields << ActivityText(i.code);
        lines << fields.join(QLatin1Char('\t')) + QLatin1Char('\t');
    }
    return lines;
}

QString JoinExportLines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}
