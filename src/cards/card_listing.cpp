#include "cards/card_listing.h"

#include "common/time_text.h"
#include "entries/activity_kind.h"

QString CardHolderText(const CardHolder& holder)
{
    QString text = QStringLiteral("%1 %2, kartica %3 (%4)").arg(holder.surname, holder.firstNames, holder.cardNumber, holder.issuingState);
    if (holder.birthDate.isValid())
        text += QStringLiteral(", rođen ") + holder.birthDate.toString(QStringLiteral("dd.MM.yyyy"));
    return text + QLatin1Char('.');
}

QString CardIntervalNotes(const CardInterval& interval, const CardDownload& download)
{
    QStringList notes;
    if (interval.crew)
        notes << QStringLiteral("posada");
    if (interval.coDriver)
        notes << QStringLiteral("suvozač");
    if (interval.manual)
        notes << QStringLiteral("ručni unos");
    if (interval.vehicle)
        notes << download.vehicles[*interval.vehicle].registration;
    return notes.join(QStringLiteral(", "));
}

QStringList CardDayLines(const CardDay& day, const CardDownload& download)
{
    QStringList lines{QStringLiteral("Aktivnost\tOd\tDo\tTrajanje\tOpis\tNapomena")};
    for (const CardInterval& interval : day.intervals) {
        const QStringList fields{QString::number(interval.activity), FormatMinutes(interval.start), FormatMinutes(interval.end),
                                 FormatMinutes(interval.end - interval.start),
                                 ActivityShortName(*ActivityKindFromCode(interval.activity)),
                                 CardIntervalNotes(interval, download)};
        lines << fields.join(QLatin1Char('\t')) + QLatin1Char('\t');
    }
    return lines;
}
