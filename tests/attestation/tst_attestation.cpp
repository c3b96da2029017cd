#include "pdf_text.h"
#include "temp_database.h"

#include "attestation/attestation_printout.h"
#include "attestation/attestation_record.h"
#include "attestation/attestation_register.h"
#include "temp_database.h"
#include "print/pdf_output.h"

#include <QImage>
#include <QtTest>

namespace {

Attestation Sample()
{
    Attestation a;
    a.fillerId = 4;
    a.driverId = 7;
    a.activity = 1;
    a.company = QStringLiteral("Prijevoznik d.o.o.");
    a.street = QStringLiteral("Glavna ulica 1,10000 Zagreb");
    a.country = QStringLiteral("Hrvatska / Croatia");
    a.telephone = QStringLiteral("01 000 0000");
    a.fax = QStringLiteral("01 000 0001");
    a.email = QStringLiteral("info@prijevoznik.hr");
    a.fillerName = QStringLiteral("Marić Ivana");
    a.fillerPosition = QStringLiteral("referent");
    a.driverName = QStringLiteral("Žužić Đuro");
    a.birthDate = QDate(1970, 5, 6);
    a.documents = QStringLiteral("OI123/V456");
    a.employedSince = DayZero();
    a.from = QDate(2010, 3, 1);
    a.fromTime = QStringLiteral("08:00");
    a.hasEnd = true;
    a.to = QDate(2010, 3, 5);
    a.toTime = QStringLiteral("00:00");
    a.place = QStringLiteral("Zagreb");
    a.date = QDate(2010, 3, 6);
    a.signaturePlace = QStringLiteral("Rijeka");
    a.signatureDate = QDate(2010, 3, 7);
    return a;
}

}  // namespace

class TestAttestation : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void storedWithTheNullRules();
    void latestFillerAndDocuments();
    void fieldsAsPrinted();
    void formReadsBackAtItsPlaces();
    void fixedTextsAreTheOfficialWording();
    void registerRangesAndCounts_data();
    void registerRangesAndCounts();
    void registerByDriverInAlphabeticalOrder();
    void boundaryDatesAndDeleting();
    void registerListPrintout();

private:
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<TestConnection> m_data;
};

void TestAttestation::initTestCase()
{
    m_db = std::make_unique<TempDatabase>();
    m_data = std::make_unique<TestConnection>();
    ConnectUpgraded(*m_data, m_db->path());
}

void TestAttestation::storedWithTheNullRules()
{
    Attestation a = Sample();
    a.activity = -1;
    QCOMPARE(StoreAttestation(m_data->write, -1, a).message, kNoActivityMessage);
    a = Sample();
    a.hasEnd = false;
    a.fromTime = QString();
    a.printSignature = false;
    const WriteResult stored = StoreAttestation(m_data->write, -1, a);
    QVERIFY2(stored.done, qPrintable(stored.message));
    QVERIFY(stored.id > 0);
    const QString where = QStringLiteral(" FROM AKTPOTVRDA WHERE IDP=%1").arg(stored.id);
    QCOMPARE(QueryNumber(*m_data, "SELECT COUNT(*)" + where + " AND RAZDO IS NULL AND DZAP IS NULL AND PISP IS NULL "
                                  "AND DROD='1970-05-06' AND RAZOD='2010-03-01 00:00' AND MODEL=0 AND IDVOZ=7"),
             1);

    // Reopened: no end shows the start in the "Do:" fields; day 0 again for the missing date.
    std::optional<Attestation> loaded = LoadAttestation(m_data->read, stored.id);
    QVERIFY(loaded);
    QVERIFY(!loaded->hasEnd);
    QCOMPARE(loaded->to, QDate(2010, 3, 1));
    QCOMPARE(loaded->toTime, QStringLiteral("00:00"));
    QCOMPARE(loaded->employedSince, DayZero());
    QVERIFY(!loaded->printSignature);
    QCOMPARE(loaded->driverName, QStringLiteral("Žužić Đuro"));
    // Stored again unchanged, RAZDO stays NULL.
    QVERIFY(StoreAttestation(m_data->write, stored.id, *loaded).done);
    QCOMPARE(QueryNumber(*m_data, "SELECT COUNT(*)" + where + " AND RAZDO IS NULL"), 1);

    loaded->hasEnd = true;
    loaded->to = QDate(2010, 3, 12);
    loaded->toTime = QStringLiteral("6");
    loaded->printSignature = true;
    QVERIFY(StoreAttestation(m_data->write, stored.id, *loaded).done);
    QCOMPARE(QueryNumber(*m_data, "SELECT COUNT(*)" + where + " AND RAZDO='2010-03-12 06:00' AND PISP=1"), 1);
    QVERIFY(!LoadAttestation(m_data->read, 99999));
    loaded->fromTime = QStringLiteral("abc");
    QVERIFY(!StoreAttestation(m_data->write, stored.id, *loaded).done);
}

void TestAttestation::latestFillerAndDocuments()
{
    Attestation later = Sample();
    later.fillerName = QStringLiteral("Babić Ana");
    later.fillerPosition = QStringLiteral("voditeljica");
    later.fillerId = 9;
    QVERIFY(StoreAttestation(m_data->write, -1, later).done);
    const std::optional<Filler> filler = LatestFiller(m_data->read);
    QVERIFY(filler);
    QCOMPARE(filler->name, QStringLiteral("Babić Ana"));
    QCOMPARE(filler->position, QStringLiteral("voditeljica"));
    QCOMPARE(filler->id, 9);
    QCOMPARE(DocumentNumbers("", "V1", ""), QStringLiteral("/V1"));
    QCOMPARE(DocumentNumbers("O1", "V1", "P1"), QStringLiteral("O1/V1/P1"));
    QCOMPARE(DocumentNumbers("O1", "", "P1"), QStringLiteral("O1/P1"));
}

void TestAttestation::fieldsAsPrinted()
{
    Attestation a = Sample();
    QCOMPARE(AttestationPrintout::PeriodFromText(a), QStringLiteral("08:00/01/03/2010"));
    QCOMPARE(AttestationPrintout::PeriodToText(a), QStringLiteral("05/03/2010"));  // 00:00: the date alone
    a.hasEnd = false;
    QCOMPARE(AttestationPrintout::PeriodToText(a), QString());
    a.fromTime = QStringLiteral("  ");
    QCOMPARE(AttestationPrintout::PeriodFromText(a), QStringLiteral("01/03/2010"));
}

void TestAttestation::formReadsBackAtItsPlaces()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("potvrda.pdf");
    QVERIFY(WritePdf(AttestationPrintout(Sample()), path, nullptr));
    const QList<PdfWord> words = PdfWords(path);
    QVERIFY(!words.isEmpty());
    const auto find = [&](const QString& text, double nearTop) {
        for (const PdfWord& word : words) {
            if (word.text == text && std::abs(word.top - nearTop) < 3)
                return word;
        }
        return PdfWord{};
    };
    // Fixed texts: left edges and tops within half a millimetre (the block starts at 10 mm).
    const struct {
        const char* text;
        double left;
        double top;
    } fixed[] = {{"POTVRDA", 10.0, 10.3}, {"1.", 13.2, 45.2}, {"Država", 23.2, 68.2}, {"14.", 13.2, 163.7},
                 {"19.", 13.2, 194.7},   {"21.", 11.6, 236.5}, {"Potpis", 26.1, 270.9}};
    for (const auto& expected : fixed) {
        const PdfWord word = find(QString::fromUtf8(expected.text), expected.top);
        QVERIFY2(!word.text.isEmpty(), expected.text);
        QVERIFY2(std::abs(word.left - expected.left) < 0.5, qPrintable(QString("%1 left %2").arg(expected.text).arg(word.left)));
        QVERIFY2(std::abs(word.top - expected.top) < 0.5, qPrintable(QString("%1 top %2").arg(expected.text).arg(word.top)));
    }
    // Data fields: their line, centred in their boxes.
    const PdfWord from = find(QStringLiteral("08:00/01/03/2010"), 152.3);
    QVERIFY(!from.text.isEmpty());
    QVERIFY(std::abs(from.top - 152.3) < 0.5);
    QVERIFY(from.left > 105.8 && from.left < 137);
    QVERIFY(!find(QStringLiteral("06/05/1970"), 117.7).text.isEmpty());
    // Employed since on day 0, an unknown date: blank, and no day 0 anywhere on the form.
    for (const PdfWord& word : words) {
        QVERIFY2(!word.text.contains(QStringLiteral("1899")), qPrintable(word.text));
        QVERIFY2(std::abs(word.top - 139.4) > 3 || word.left < 80 || word.text.startsWith(QLatin1Char('.')),
                 qPrintable(word.text));
    }
    QVERIFY(!find(QStringLiteral("Rijeka"), 259.0).text.isEmpty());
    QVERIFY(!find(QStringLiteral("Đuro"), 234.9).text.isEmpty());

    // The box of the attested activity (annual leave) is black, the others white.
    QImage page = RenderPage(AttestationPrintout(Sample()), 0, 150);
    const auto boxCentre = [&](double y) {
        const double pixelsPerMm = 150 / 25.4;
        return page.pixel(int((10 + 175.7 + 1.6) * pixelsPerMm), int((10 + y + 1.6) * pixelsPerMm));
    };
    QCOMPARE(boxCentre(159.3), qRgb(0, 0, 0));
    QCOMPARE(boxCentre(154.3), qRgb(255, 255, 255));
    QCOMPARE(boxCentre(184.9), qRgb(255, 255, 255));
}

void TestAttestation::fixedTextsAreTheOfficialWording()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("potvrda.pdf");
    QVERIFY(WritePdf(AttestationPrintout(Sample()), path, nullptr));
    const QString page = PdfPageTexts(path).join(QLatin1Char(' ')).simplified();
    QVERIFY(!page.isEmpty());
    // The English and French wording of the published form, where the form once had typos.
    for (const char* official :
         {"signed before a journey", "À remplir en dactylographie en caractères latins et à signer avant tout voyage",
          "À joindre aux enregistrements de l'appareil de contrôle qui doivent être conservés",
          "RÈGLEMENT (CE) 561/2006", "Nom de l'entreprise", "Fonction dans l'entreprise", "I, the undersigned:",
          "déclare que le conducteur", "declare that the driver:", "de la carte d'identité",
          "qui a commencé à travailler dans l'entreprise le (jour/mois/année)", "au cours de la période",
          "du (heure/jour/mois/année)", "au (heure/jour/mois/année)", "était en congé annuel",
          "exclu du champ d'application du", "règlement (CE) 561/2006 ou de l'AETR",
          "drove a vehicle exempted from the scope of Regulation (EC) 561/2006 or the AETR",
"Le soussigné, conducteur, confirme",
          "au cours de la période susmentionnée.", "I, the driver, confirm that I have not been",
          "falling under the scope of Regulation", "during the period mentioned above."}) {
        QVERIFY2(page.contains(QString::fromUtf8(official)), official);
    }
    // Every text keeps its place, and none runs into the next on its line (the guide lines of
    // dots, which the data are printed over, aside).
    QList<PdfWord> words = PdfWords(path);
    words.removeIf([](const PdfWord& word) { return word.text.count(QLatin1Char('.')) == word.text.size(); });
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) { return a.left < b.left; });
    for (qsizetype i = 0; i < words.size(); ++i) {
        for (qsizetype j = i + 1; j < words.size(); ++j) {
            if (std::abs(words[j].top - words[i].top) < 0.8 && words[j].left < words[i].right - 0.05)
                QFAIL(qPrintable(QStringLiteral("\"%1\" runs into \"%2\"").arg(words[i].text, words[j].text)));
        }
    }
    for (const char* typo : {"yourney", "exemted", " te ", "conducter", "chap d'", "templir", "joinre", "susmetionne",
                             "uder ", "mentione ", " dan ", "congé de annuel", "carta", "commancé", "anneé", "periodé",
                             "reglement", "soussigne,", "driver.", "l' entreprise"}) {
        QVERIFY2(!page.contains(QString::fromUtf8(typo)), typo);
    }
}

void TestAttestation::registerRangesAndCounts_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<bool>("listed");
    // The attestation of 01.03. to 31.03.: listed whenever it reaches into the range, also when
    // it spans the whole range.
    QTest::newRow("over the whole range") << QDate(2030, 3, 10) << QDate(2030, 3, 20) << true;
    QTest::newRow("over its end") << QDate(2030, 3, 25) << QDate(2030, 4, 5) << true;
    QTest::newRow("over its start") << QDate(2030, 2, 25) << QDate(2030, 3, 1) << true;
    QTest::newRow("after it") << QDate(2030, 4, 1) << QDate(2030, 4, 5) << false;
}

void TestAttestation::registerRangesAndCounts()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(bool, listed);
    static bool stored = false;
    if (!stored) {
        stored = true;
        Attestation march = Sample();
        march.from = QDate(2030, 3, 1);
        march.to = QDate(2030, 3, 31);
        march.driverName = QStringLiteral("ŠARIĆ ana");
        march.driverId = 21;
        QVERIFY(StoreAttestation(m_data->write, -1, march).done);
        march.driverName = QStringLiteral("Šarić Ana");
        march.activity = 4;
        QVERIFY(StoreAttestation(m_data->write, -1, march).done);
    }
    const std::vector<RegisterRow> rows = LoadRegister(m_data->read, RegisterFilter{from, to, {}, {}, 0});
    QCOMPARE(rows.size(), listed ? size_t(2) : size_t(0));
    if (listed) {
        // One driver by id, whatever the names say.
        QCOMPARE(CountDrivers(rows), 1);
        QCOMPARE(rows[0].periodText(), QStringLiteral("01.03.2030 08:00 - 31.03.2030 00:00"));
        const RegisterFilter onlyOther{from, to, 21, 4, 0};
        const std::vector<RegisterRow> other = LoadRegister(m_data->read, onlyOther);
        QCOMPARE(other.size(), size_t(1));
        QCOMPARE(other[0].activityText(), QStringLiteral("obavljao druge poslove osim upravljanja vozilom"));
    }
}

void TestAttestation::registerByDriverInAlphabeticalOrder()
{
    const QStringList names{"Zorić Ivo", "Ćirić Ana", "Babić Željko", "Babić Čedo", "čolić Maja", "Ćirić Ana"};
    for (int i = 0; i < names.size(); ++i) {
        Attestation a = Sample();
        a.driverName = names[i];
        a.from = QDate(2030, 5, 1 + i);
        a.hasEnd = false;
        QVERIFY(StoreAttestation(m_data->write, -1, a).done);
    }
    const auto filter = [](int order) { return RegisterFilter{QDate(2030, 4, 30), QDate(2030, 5, 10), {}, {}, order}; };
    const auto listed = [&](int order) {
        QStringList lines;
        for (const RegisterRow& row : LoadRegister(m_data->read, filter(order)))
            lines << row.driverName + row.start.toString(" dd.MM.");
        return lines;
    };
    const auto copiedNames = [&](int order) {
        QStringList copied;
        for (const QString& line : RegisterCopyText(m_data->read, filter(order)).split("\r\n", Qt::SkipEmptyParts)) {
            for (const QString& field : line.split('\t')) {
                if (names.contains(field))
                    copied << field;
            }
        }
        return copied;
    };
    // "vozač, razdoblje silazno" and "... uzlazno": Č after C and before Ć, Ž after Z, letter case aside.
    QCOMPARE(listed(4), (QStringList{"Babić Čedo 04.05.", "Babić Željko 03.05.", "čolić Maja 05.05.", "Ćirić Ana 06.05.",
                                     "Ćirić Ana 02.05.", "Zorić Ivo 01.05."}));
    QCOMPARE(listed(5), (QStringList{"Babić Čedo 04.05.", "Babić Željko 03.05.", "čolić Maja 05.05.", "Ćirić Ana 02.05.",
                                     "Ćirić Ana 06.05.", "Zorić Ivo 01.05."}));
    // The copied list in the same order.
    QCOMPARE(copiedNames(4), (QStringList{"Babić Čedo", "Babić Željko", "čolić Maja", "Ćirić Ana", "Ćirić Ana", "Zorić Ivo"}));
}

void TestAttestation::boundaryDatesAndDeleting()
{
    TempDatabase empty;
    TestConnection data;
    ConnectUpgraded(data, empty.path());
    // An empty register: ten days from the day before day 0.
    QCOMPARE(BoundaryDates(data.read), std::pair(QDate(1899, 12, 29), QDate(1900, 1, 8)));
    Attestation a = Sample();
    a.from = QDate(2024, 5, 2);
    a.to = QDate(2024, 5, 4);
    const WriteResult stored = StoreAttestation(data.write, -1, a);
    QVERIFY(stored.done);
    QCOMPARE(BoundaryDates(data.read), std::pair(QDate(2024, 5, 1), QDate(2024, 5, 11)));
    QVERIFY(DeleteAttestation(data.write, stored.id).done);
    QCOMPARE(QueryNumber(data, "SELECT COUNT(*) FROM AKTPOTVRDA"), 0);
}

void TestAttestation::registerListPrintout()
{
    RegisterPrintData data;
    data.header = QStringLiteral("Prijevoznik d.o.o.");
    data.driverLine = QStringLiteral("Svi djelatnici");
    data.rangeLine = QStringLiteral("Razdoblje: 01.01.2030 - 31.12.2030");
    for (int i = 0; i < 60; ++i) {
        RegisterRow row;
        row.id = i + 1;
        row.date = QDate(2030, 1, 1).addDays(i);
        row.start = QDateTime(row.date, QTime(8, 0), Qt::UTC);
        row.driverName = QStringLiteral("Vozač %1").arg(i + 1);
        row.activity = i % 6;
        data.rows.push_back(row);
    }
    data.drivers = 60;
    data.printedAt = QDateTime(QDate(2030, 2, 1), QTime(12, 30));
    const RegisterPrintout printout(data);
    QCOMPARE(printout.pageCount(), 2);
    QTemporaryDir folder;
    const QString path = folder.filePath("popis.pdf");
    QVERIFY(WritePdf(printout, path, nullptr));
    const QStringList pages = PdfPageTexts(path);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[0].contains("Popis izdanih potvrda o aktivnosti vozača"));
    QVERIFY(!pages[1].contains("Popis izdanih potvrda"));
    for (int page = 0; page < 2; ++page) {
        QVERIFY(pages[page].contains("Razdoblje od - do") && pages[page].contains("Vrsta aktivnosti"));
        QVERIFY(pages[page].contains(QStringLiteral("Str. %1 od 2").arg(page + 1)));
    }
    QCOMPARE(pages[1].split('\n').filter("Stavki u popisu:").first().simplified(), QStringLiteral("Stavki u popisu: 60"));
    QCOMPARE(pages[1].split('\n').filter("Djelatnika u popisu:").first().simplified(),
             QStringLiteral("Djelatnika u popisu: 60"));
    QVERIFY(pages[0].contains("01.01.2030 08:00"));
}

QTEST_MAIN(TestAttestation)
#include "tst_attestation.moc"
