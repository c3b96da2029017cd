#include "attestation/attestation_printout.h"

#include <QFontMetricsF>

#include <vector>

namespace {

constexpr double kOrigin = 10;  // the printable area's corner on the page
const QString kSerif = QStringLiteral("Times New Roman");

enum class Style { Regular, Bold, Italic, BoldItalic };

struct Part {
    double x;
    QString text;
    Style style;
};

struct Line {
    double y;
    std::vector<Part> parts;
    double points = 9;
};

// An item line: the Croatian part bold, the French regular, the English italic.
Line Item(double y, double hrX, const char* hr, double frX, const char* fr, double enX = 0, const char* en = nullptr)
{
    Line line{y, {{hrX, QString::fromUtf8(hr), Style::Bold}, {frX, QString::fromUtf8(fr), Style::Regular}}};
    if (en)
        line.parts.push_back({enX, QString::fromUtf8(en), Style::Italic});
    return line;
}

// A heading line: the three parts bold, the English one bold italic.
Line Heading(double y, double hrX, const char* hr, double frX, const char* fr, double enX, const char* en)
{
    return Line{y, {{hrX, QString::fromUtf8(hr), Style::Bold}, {frX, QString::fromUtf8(fr), Style::Bold},
                    {enX, QString::fromUtf8(en), Style::BoldItalic}}};
}

const std::vector<Line>& FixedLines()
{
    static const std::vector<Line> lines{
        Item(35.2, 3.2, "1. Naziv tvrtke", 23.8, "/ Nom de l'entreprise", 51.6, "/ Name of the undertaking"),
        Item(45.5, 3.2, "2. Ulica, poštanski broj, mjesto", 46.0, "/ Rue, code postal, ville", 76.2,
             "/ Street address, postal code, city"),
        Item(58.2, 13.2, "Država", 23.5, "/ Pays", 32.3, "/ Country"),
        Item(66.1, 3.2, "3. Telefon (sa međ. predbrojem)", 47.9, "/ Telephone number (including international prefix)"),
        Item(71.2, 3.2, "4. Fax (sa međ. predbrojem)", 42.1, "/ Fax number (including international prefix)"),
        Item(76.2, 3.2, "5. e-mail adresa", 25.7, "/ Adresse courrier électronique", 65.1, "/ e-mail address"),
        Heading(81.8, 5.3, "Ja, niže potpisani", 30.4, "/ Le soussigné", 50.5, "/ I, the undersigned:"),
        Item(86.8, 3.2, "6. Ime i prezime", 26.5, "/ Nom et prénom", 48.7, "/ Name and first name"),
        Item(91.8, 3.2, "7. Funkcija u tvrtci", 30.2, "/ Fonction dans l'entreprise", 66.1, "/ Position in the undertaking"),
        Heading(97.9, 5.3, "Izjavljujem da vozač", 33.9, "/ déclare que le conducteur", 69.8, "/ declare that the driver:"),
        Item(103.5, 3.2, "8. Ime i prezime", 26.5, "/ Nom et prénom", 48.7, "/ Name and first name"),
        Item(108.5, 3.2, "9. Datum rođenja", 28.0, "/ Date de naissance (jour/mois/année)", 75.9,
             "/ Date of birth (day/month/year)"),
        Item(113.5, 3.2, "10. Broj vozačke dozvole/osobne iskaznice/putovnice", 75.9,
             "/ Numéro du permis de conduire ou de la carte d'identité ou du passeport", 168.8, "/ Driving"),
        Line{118.5, {{7.9, QStringLiteral("licence or identity card or passport number:"), Style::Italic}}},
        Item(124.6, 3.2, "11. Zaposlen u tvrtki od (dan, mjesec, godina)", 66.1,
             "/ qui a commencé à travailler dans l'entreprise le (jour/mois/année)", 147.6, "/ who has started to work at"),
        Line{129.6, {{7.9, QStringLiteral("the undertaking on (day/month/year)"), Style::Italic}}},
        Heading(137.3, 5.3, "Za razdoblje od:", 28.0, "/ au cours de la période", 60.3, "/ for the period:"),
        Item(143.1, 3.2, "12. Od:", 13.8, "/ du (heure/jour/mois/année)", 49.5, "/ from (hour/day/month/year)"),
        Item(148.4, 3.2, "13. Do:", 13.8, "/ au (heure/jour/mois/année)", 49.5, "/ to (hour/day/month/year)"),
        Item(153.7, 3.2, "14. Bio na bolovanju", 31.5, "/ était en congé de maladie", 64.8, "/ was on sick leave"),
        Item(158.8, 3.2, "15. Bio na godišnjem odmoru", 43.9, "/ était en congé annuel", 75.9, "/ was on annual leave"),
        Item(163.8, 3.2, "16. Ostali izostanci", 30.4, "/ était en congé ou repos", 62.4, "/ was on leave or rest"),
        Item(168.8, 3.2, "17. Upravljao vozilom izuzetim iz primjene Uredbe (EC) 561/2006 AETR", 103.2,
             "/ conduisait un véhicule exclu du champ d'application du"),
        Line{174.1,
             {{7.9, QStringLiteral("règlement (CE) 561/2006 ou de l'AETR"), Style::Regular},
              {58.5, QStringLiteral("/ drove a vehicle exempted from the scope of Regulation (EC) 561/2006 or the AETR"),
               Style::Italic}}},
        Item(179.7, 3.2, "18. Obavljao druge poslove osim upravljanja vozilom", 76.5,
             "/ effectuait autre travail que la conduite", 126.2, "/ performed other work than driving"),
        Item(184.7, 3.2, "19. Bio na raspolaganju", 36.2, "/ était disponible", 57.9, "/ was available"),
        Line{190.0,
             {{3.2, QStringLiteral("20. Mjesto"), Style::Bold}, {18.0, QStringLiteral("/ Lieu"), Style::Regular},
              {25.9, QStringLiteral("/ Place"), Style::Italic}, {100.3, QStringLiteral("Datum"), Style::Bold},
              {110.9, QStringLiteral("/ Date"), Style::Regular}, {119.6, QStringLiteral("/ date"), Style::Italic}}},
        Item(199.2, 16.1, "Potpis", 25.4, "/ Signature", 39.4, "/ signature"),
        Line{226.5,
             {{1.6,
               QStringLiteral("21. Ja, vozač ..............................................................................................., "
                              "potvrđujem da nisam upravljao vozilom obuhvaćenim primjenom"),
               Style::Bold}}},
        Line{231.2,
             {{6.1, QStringLiteral("Uredbe (EC) 561/2006 AETR tijekom gornjeg razdoblja."), Style::Bold},
              {82.8, QStringLiteral("Le soussigné, conducteur, confirme ne pas avoir conduit un véhicule relevant du"),
               Style::Regular}}},
        Line{236.0,
             {{6.1,
               QStringLiteral("champ d'application du règlement (CE) 561/2006 ou de l'AETR au cours de la période susmentionnée."),
               Style::Regular},
              {134.1, QStringLiteral("/ I, the driver, confirm that I have not been"), Style::Italic}}},
        Line{240.8,
             {{6.1,
               QStringLiteral("driving a vehicle falling under the scope of Regulation (EC) 561/2006 or the AETR during the "
                              "period mentioned above."),
               Style::Italic}}},
        Line{249.8,
             {{1.6, QStringLiteral("22. Mjesto"), Style::Bold}, {16.4, QStringLiteral("/ Lieu"), Style::Regular},
              {24.3, QStringLiteral("/ Place"), Style::Italic}, {100.3, QStringLiteral("Datum"), Style::Bold},
              {110.9, QStringLiteral("/ Date"), Style::Regular}, {119.6, QStringLiteral("/ date"), Style::Italic}}},
        Item(260.9, 16.1, "Potpis vozača", 34.9, "/ Signature du conducteur", 68.0, "/ signature of the driver"),
    };
    return lines;
}

// The dotted guide lines: from x, at y, so long.
struct Guide {
    double x;
    double y;
    double length;
};

const std::vector<Guide>& Guides()
{
    static const std::vector<Guide> guides{
        {3.2, 40.7, 183.6},  {3.2, 51.1, 183.6},  {114.3, 67.5, 70.6}, {114.3, 72.5, 70.6}, {100.5, 77.0, 84.4},
        {82.3, 87.6, 102.6}, {107.7, 92.6, 77.3}, {82.3, 104.2, 102.6}, {122.0, 109.3, 62.9}, {69.3, 119.9, 115.6},
        {69.3, 131.0, 115.6}, {94.7, 143.9, 85.0}, {94.7, 149.2, 85.0}, {41.3, 190.8, 50.2},  {134.1, 190.8, 50.3},
        {16.4, 211.1, 66.1},  {41.3, 250.6, 50.2},  {134.1, 250.6, 50.3}, {16.1, 272.8, 66.1},
    };
    return guides;
}

constexpr double kPartGap = 0.5;  // least room between the parts of a line
constexpr double kBoxX = 175.7;
constexpr double kBoxSize = 3.2;
constexpr double kBoxY[] = {154.3, 159.3, 164.3, 174.4, 180.2, 184.9};

// A date as dd/mm/yyyy; a missing one (day 0) stays blank, as on a form filled in by hand.
QString DateText(const QDate& date)
{
    if (!date.isValid() || date == DayZero())
        return QString();
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString WithHour(const QString& hour, const QDate& date)
{
    if (DateText(date).isEmpty())
        return QString();
    const QString trimmed = hour.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String("00:00"))
        return DateText(date);
    return trimmed + QLatin1Char('/') + DateText(date);
}

void SetStyle(PageCanvas& canvas, double points, Style style)
{
    canvas.setFont(kSerif, points, style == Style::Bold || style == Style::BoldItalic,
                   style == Style::Italic || style == Style::BoldItalic);
}

void WrappedText(PageCanvas& canvas, double y, double width, double points, bool bold, const QString& text)
{
    canvas.setFont(kSerif, points, bold);
    QPainter& painter = canvas.painter();
    const QRect box = canvas.rect(kOrigin, kOrigin + y, kOrigin + width, kOrigin + y + 8);
    painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

AttestationPrintout::AttestationPrintout(Attestation attestation, QString webAddress)
    : m_attestation(std::move(attestation)), m_webAddress(std::move(webAddress))
{
}

QString AttestationPrintout::PeriodFromText(const Attestation& attestation)
{
    return WithHour(attestation.fromTime, attestation.from);
}

QString AttestationPrintout::PeriodToText(const Attestation& attestation)
{
    return attestation.hasEnd ? WithHour(attestation.toTime, attestation.to) : QString();
}

void AttestationPrintout::paintPage(PageCanvas& canvas, int) const
{
    PaintAttestationForm(canvas, m_attestation, m_webAddress);
}

void PaintAttestationForm(PageCanvas& canvas, const Attestation& a, const QString& webAddress)
{
    QPainter& painter = canvas.painter();
    painter.setPen(Qt::black);
    const auto at = [](double value) { return kOrigin + value; };

    canvas.setFont(kSerif, 10, true);
    canvas.textAt(at(0), at(0.3),
                  QStringLiteral("POTVRDA O AKTIVNOSTIMA / FORMULAIRE D'ATTESTATION D'ACTIVITÉS / ATTESTATION OF ACTIVITIES"));
    canvas.setFont(kSerif, 10);
    canvas.textAt(at(0), at(4.2),
                  QStringLiteral("(UREDBA (EZ) 561/2006 / RÈGLEMENT (CE) 561/2006 OU L'AETR / REGULATION (EC) 561/2006 OR THE AETR)"));
    WrappedText(canvas, 9.0, 184.4, 8, false,
                QStringLiteral("Ispunjava se tiskanim latinskim slovima i potpisuje prije odlaska. / À remplir en dactylographie "
                               "en caractères latins et à signer avant tout voyage. / To be filled in by typing in Latin "
                               "characters and signed before a journey."));
    WrappedText(canvas, 16.4, 184.4, 8, false,
                QStringLiteral("Čuvati sa originalnim zapisima tahografskog uređaja. / À joindre aux enregistrements de l'appareil "
                               "de contrôle qui doivent être conservés. / To be kept with the original control device records "
                               "wherever they are required to be kept."));
    WrappedText(canvas, 24.1, 184.4, 8, true,
                QStringLiteral("KRIVI NAVODI PREDSTAVLJAJU PREKRŠAJ! / LES FAUSSES ATTESTATIONS CONSTITUENT UNE INFRACTION / "
                               "FALSE ATTESTATIONS CONSTITUTE AN INFRINGEMENT"));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, canvas.mm(0.3)));
    painter.drawRect(QRectF(canvas.mm(at(0)), canvas.mm(at(33.9)), canvas.mm(187.1), canvas.mm(218.6 - 33.9)));
    painter.drawRect(QRectF(canvas.mm(at(9.5)), canvas.mm(at(56.6)), canvas.mm(180.9 - 9.5), canvas.mm(63.7 - 56.6)));
    painter.setPen(Qt::black);

    for (const Line& line : FixedLines()) {
        for (size_t i = 0; i < line.parts.size(); ++i) {
            const Part& part = line.parts[i];
            SetStyle(canvas, line.points, part.style);
            // A part that would run into the next one on its line is set narrower, so that
            // every part keeps its place.
            if (i + 1 < line.parts.size()) {
                const double room = canvas.mm(line.parts[i + 1].x - kPartGap - part.x);
                const double width = QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(part.text);
                if (width > room) {
                    QFont narrower = painter.font();
                    narrower.setStretch(static_cast<int>(100 * room / width));
                    painter.setFont(narrower);
                }
            }
            canvas.textAt(at(part.x), at(line.y), part.text);
        }
    }

    // The dotted guide lines: rows of full stops.
    canvas.setFont(kSerif, 8, true);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double dot = metrics.horizontalAdvance(QLatin1Char('.'));
    for (const Guide& guide : Guides()) {
        const int dots = static_cast<int>(canvas.mm(guide.length) / dot);
        canvas.textAt(at(guide.x), at(guide.y), QString(dots, QLatin1Char('.')));
    }

    struct Field {
        double x;
        double y;
        double width;
        QString text;
    };
    const std::vector<Field> fields{
        {4.8, 39.4, 180.2, a.company},
        {4.8, 49.7, 180.2, a.street},
        {49.5, 58.2, 124.4, a.country},
        {114.3, 65.9, 70.6, a.telephone},
        {114.3, 70.9, 70.6, a.fax},
        {100.8, 75.4, 84.1, a.email},
        {82.5, 86.0, 102.4, a.fillerName},
        {108.0, 91.0, 77.0, a.fillerPosition},
        {82.5, 102.7, 102.4, a.driverName},
        {121.7, 107.7, 63.2, DateText(a.birthDate)},
        {70.1, 118.3, 114.8, a.documents},
        {70.1, 129.4, 114.8, DateText(a.employedSince)},
        {95.8, 142.3, 83.9, AttestationPrintout::PeriodFromText(a)},
        {95.8, 147.6, 83.9, AttestationPrintout::PeriodToText(a)},
        {41.0, 189.2, 50.5, a.place},
        {133.9, 189.2, 50.5, DateText(a.date)},
        {20.4, 224.9, 75.1, a.driverName},
        {41.0, 249.0, 50.5, a.printSignature ? a.signaturePlace : QString()},
        {133.9, 249.0, 50.5, a.printSignature ? DateText(a.signatureDate) : QString()},
    };
    canvas.setFont(kSerif, 10, true);
    for (const Field& field : fields)
        canvas.textCentred(at(field.x), at(field.x + field.width), at(field.y), field.text);

    painter.setPen(QPen(Qt::black, canvas.mm(0.2)));
    for (int activity = 0; activity < 6; ++activity) {
        painter.setBrush(activity == a.activity ? Qt::black : Qt::white);
        painter.drawRect(QRectF(canvas.mm(at(kBoxX)), canvas.mm(at(kBoxY[activity])), canvas.mm(kBoxSize), canvas.mm(kBoxSize)));
    }
    painter.setBrush(Qt::NoBrush);

    canvas.setFont(QStringLiteral("Arial"), 7, true);
    painter.setPen(Qt::blue);
    canvas.textRightAligned(at(190.0), at(273.1), webAddress);
}

QString AttestationPrintout::fileName() const
{
    return PrintoutFileName({QStringLiteral("Potvrda o aktivnostima"), m_attestation.driverName,
                             DateText(m_attestation.from).replace(QLatin1Char('/'), QLatin1Char('.'))});
}
