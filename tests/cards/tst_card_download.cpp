#include "card_file_writer.h"

#include "cards/card_download.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CardGeneration)

namespace {

TestCard SampleCard(CardGeneration generation)
{
    TestCard card;
    card.generation = generation;
    card.surname = QStringLiteral("Šimić Žugaj");
    card.firstNames = QStringLiteral("Đuro Čedomir");
    card.days = {
        {QDate(2025, 1, 14), 120, {{0, kCardRest}, {300, kCardDriving}, {480, kCardRest}}},
        {QDate(2025, 1, 15), 0, {{0, kCardRest}}},
        {QDate(2025, 1, 16), 455, {{0, kCardRest}, {360, kCardDriving, true, true}, {720, kCardWork, false, false, true}}},
    };
    card.vehicles = {
        {QStringLiteral("ZG 1234-AB"), 0x19, 100200, 100320, Utc(2025, 1, 14, 5), Utc(2025, 1, 14, 8)},
        {QStringLiteral("RI 77-K"), 0x19, 5000, 5455, Utc(2025, 1, 16, 6), Utc(2025, 1, 16, 12)},
    };
    card.places = {{Utc(2025, 1, 14, 5), 0, 0x19, 100200}, {Utc(2025, 1, 14, 8), 1, 0x0D, 100320}};
    return card;
}

void AddGenerations(const char* name, const std::function<void(QTestData&, CardGeneration)>& add)
{
    for (const CardGeneration generation : {CardGeneration::First, CardGeneration::Second}) {
        QTestData& row = QTest::newRow(qPrintable(QStringLiteral("%1, generacija %2")
                                                      .arg(QLatin1String(name))
                                                      .arg(generation == CardGeneration::First ? 1 : 2)));
        row << generation;
        add(row, generation);
    }
}

QString ErrorOf(const QByteArray& bytes)
{
    try {
        ParseCardDownload(bytes, QStringLiteral("kartica.ddd"));
    } catch (const CardFileError& error) {
        return error.text();
    }
    return QString();
}

void SetBe16(QByteArray& bytes, qsizetype at, int value)
{
    bytes[at] = char(value >> 8);
    bytes[at + 1] = char(value);
}

} // namespace

class TestCardDownload : public QObject {
    Q_OBJECT

private slots:
    void readsEveryPartAfterTheDataDictionary_data();
    void readsEveryPartAfterTheDataDictionary();
    void wrappedBufferReadsAsTheSameDays_data();
    void wrappedBufferReadsAsTheSameDays();
    void generationTwoVersionTwo();
    void cutAtEveryElementaryFileBoundary_data();
    void cutAtEveryElementaryFileBoundary();
    void damagedFilesAreRefusedWithTheirReason_data();
    void damagedFilesAreRefusedWithTheirReason();
    void oversizedFileIsRefusedBeforeReading();
};

void TestCardDownload::readsEveryPartAfterTheDataDictionary_data()
{
    QTest::addColumn<CardGeneration>("generation");
    AddGenerations("sve", [](QTestData&, CardGeneration) {});
}

void TestCardDownload::readsEveryPartAfterTheDataDictionary()
{
    QFETCH(CardGeneration, generation);
    const CardDownload d = ParseCardDownload(WriteTestCard(SampleCard(generation)).bytes, QStringLiteral("k.ddd"));
    QCOMPARE(d.generation, generation);
    QCOMPARE(d.holder.cardNumber, QStringLiteral("H100000012345601"));
    QCOMPARE(d.holder.surname, QStringLiteral("Šimić Žugaj"));
    QCOMPARE(d.holder.firstNames, QStringLiteral("Đuro Čedomir"));
    QCOMPARE(d.holder.birthDate, QDate(1980, 5, 17));
    QCOMPARE(d.holder.issuingState, QStringLiteral("HR"));

    QCOMPARE(d.days.size(), std::size_t(3));
    QCOMPARE(d.days[0].dayStart, Utc(2025, 1, 14).toSecsSinceEpoch());
    QCOMPARE(d.days[0].distanceKm, 120);
    QCOMPARE(d.days[2].presenceCounter, 3);
    const std::vector<ActivityChange> expected{
        {0, false, false, false, kCardRest}, {360, true, true, false, kCardDriving}, {720, false, false, true, kCardWork}};
    QCOMPARE(d.days[2].changes, expected);

    QCOMPARE(d.vehicles.size(), std::size_t(2));
    QCOMPARE(d.vehicles[1].registration, QStringLiteral("RI 77-K"));
    QCOMPARE(d.vehicles[1].nation, QStringLiteral("HR"));
    QCOMPARE(d.vehicles[1].odometerBegin, 5000);
    QCOMPARE(d.vehicles[1].odometerEnd, 5455);
    QCOMPARE(d.vehicles[1].firstUse, Utc(2025, 1, 16, 6).toSecsSinceEpoch());
    QCOMPARE(d.vehicles[1].lastUse, Utc(2025, 1, 16, 12).toSecsSinceEpoch());

    QCOMPARE(d.places.size(), std::size_t(2));
    QVERIFY(d.places[0].begin);
    QVERIFY(!d.places[1].begin);
    QCOMPARE(d.places[1].country, QStringLiteral("D"));
    QCOMPARE(d.places[1].odometer, 100320);
}

void TestCardDownload::wrappedBufferReadsAsTheSameDays_data()
{
    QTest::addColumn<CardGeneration>("generation");
    QTest::addColumn<int>("oldestAt");
    // The second record's header, a change word, and a record boundary fall on the buffer's end.
    for (const int oldestAt : {100 - 18 - 4, 100 - 18 - 7, 100 - 18 - 12 - 5, 100 - 18 - 18})
        AddGenerations(qPrintable(QStringLiteral("od %1").arg(oldestAt)), [&](QTestData& row, CardGeneration) { row << oldestAt; });
}

void TestCardDownload::wrappedBufferReadsAsTheSameDays()
{
    QFETCH(CardGeneration, generation);
    QFETCH(int, oldestAt);
    TestCard card = SampleCard(generation);
    card.activityBufferSize = 100;
    const CardDownload straight = ParseCardDownload(WriteTestCard(card).bytes, QStringLiteral("k.ddd"));
    card.oldestAt = oldestAt;
    const CardDownload wrapped = ParseCardDownload(WriteTestCard(card).bytes, QStringLiteral("k.ddd"));
    QCOMPARE(wrapped.days.size(), straight.days.size());
    for (std::size_t i = 0; i < straight.days.size(); ++i) {
        QCOMPARE(wrapped.days[i].dayStart, straight.days[i].dayStart);
        QCOMPARE(wrapped.days[i].distanceKm, straight.days[i].distanceKm);
        QCOMPARE(wrapped.days[i].changes, straight.days[i].changes);
    }
}

void TestCardDownload::generationTwoVersionTwo()
{
    TestCard card = SampleCard(CardGeneration::Second);
    card.version2 = true;
    const CardDownload d = ParseCardDownload(WriteTestCard(card).bytes, QStringLiteral("k.ddd"));
    QVERIFY(d.version2);
    QCOMPARE(d.days.size(), std::size_t(3));
    QCOMPARE(d.vehicles.size(), std::size_t(2));
}

void TestCardDownload::cutAtEveryElementaryFileBoundary_data()
{
    QTest::addColumn<CardGeneration>("generation");
    AddGenerations("rezovi", [](QTestData&, CardGeneration) {});
}

void TestCardDownload::cutAtEveryElementaryFileBoundary()
{
    QFETCH(CardGeneration, generation);
    const TestCardFile file = WriteTestCard(SampleCard(generation));
    const CardDownload whole = ParseCardDownload(file.bytes, QStringLiteral("kartica.ddd"));
    int readable = 0;
    for (const qsizetype boundary : file.boundaries) {
        // A cut file is refused, unless all the reader needs of a generation came before the cut;
        // then it reads the same record (a generation 2 card also holds it in its generation 1 part).
        const QByteArray cut = file.bytes.left(boundary);
        const QString error = ErrorOf(cut);
        if (error.isEmpty()) {
            const CardDownload part = ParseCardDownload(cut, QStringLiteral("kartica.ddd"));
            QCOMPARE(part.days.size(), whole.days.size());
            QCOMPARE(part.days.back().changes, whole.days.back().changes);
            QCOMPARE(part.vehicles.size(), whole.vehicles.size());
            ++readable;
        } else {
            QVERIFY2(error.startsWith(QStringLiteral("kartica.ddd: ")), qPrintable(error));
            QVERIFY2(error.contains(QStringLiteral("nepotpun")) || error.contains(QStringLiteral("prekinut"))
                         || error.contains(QStringLiteral("prazna")),
                     qPrintable(error));
        }
        // Cut inside the next file's header or data, it is always refused.
        for (const qsizetype inside : {boundary + 3, boundary + 9}) {
            if (inside < file.bytes.size())
                QVERIFY2(!ErrorOf(file.bytes.left(inside)).isEmpty(), qPrintable(QString::number(inside)));
        }
    }
    // The files that come after the places (current usage, controls, specific conditions) are
    // not needed: cuts among them read, those before the places do not.
    QVERIFY(readable >= 3);
    QVERIFY(readable < int(file.boundaries.size()) / 2);
}

void TestCardDownload::damagedFilesAreRefusedWithTheirReason_data()
{
    QTest::addColumn<CardGeneration>("generation");
    QTest::addColumn<int>("field");  // offset in the activity file's data, -1 the file's length
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("message");
    const auto add = [](const char* name, int field, int value, const char* message) {
        AddGenerations(name, [&](QTestData& row, CardGeneration) { row << field << value << QString::fromUtf8(message); });
    };
    add("duljina veća od datoteke", -1, 0xFFFF, "navodi duljinu 65535 bajtova");
    add("najstariji izvan spremnika", 0, 5544, "pokazivač najstarijeg dana (5544) je izvan spremnika od 5544 bajtova");
    add("najnoviji izvan spremnika", 2, 60000, "pokazivač najnovijeg dana (60000) je izvan spremnika");
    add("najnoviji usred zapisa", 2, 7, "ne dolaze do najnovijeg (pokazivač 7)");
    add("duljina zapisa nula", 4 + 2, 0, "navodi nemoguću duljinu 0");
    add("duljina zapisa neparna", 4 + 2, 15, "navodi nemoguću duljinu 15");
    add("duljina zapisa veća od spremnika", 4 + 2, 6000, "navodi nemoguću duljinu 6000");
    add("vrijeme promjene iza ponoći", 4 + 12, 1500, "nemoguće vrijeme 1500 min");
}

void TestCardDownload::damagedFilesAreRefusedWithTheirReason()
{
    QFETCH(CardGeneration, generation);
    QFETCH(int, field);
    QFETCH(int, value);
    QFETCH(QString, message);
    TestCardFile file = WriteTestCard(SampleCard(generation));
    const qsizetype data = file.activityHeader + 5;
    if (field < 0)
        SetBe16(file.bytes, file.activityHeader + 3, value);
    else
        SetBe16(file.bytes, data + field, value);
    const QString error = ErrorOf(file.bytes);
    QVERIFY2(error.startsWith(QStringLiteral("kartica.ddd: ")), qPrintable(error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TestCardDownload::oversizedFileIsRefusedBeforeReading()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("golema.ddd"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(kMaxCardFileSize + 1));
    file.close();
    try {
        ReadCardDownload(path);
        QFAIL("read");
    } catch (const CardFileError& error) {
        QVERIFY2(error.text().startsWith(QStringLiteral("golema.ddd: datoteka ima")), qPrintable(error.text()));
    }
}

QTEST_GUILESS_MAIN(TestCardDownload)
#include "tst_card_download.moc"
