#include "pdf_text.h"
#include "temp_database.h"

#include "temp_database.h"
#include "masterdata/driver_list_query.h"
#include "masterdata/roster_printout.h"
#include "print/pdf_output.h"

#include <QtTest>

class TestDriverList : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void filters_data();
    void filters();
    void ordersAreCounted();
    void rosterPagesAndColumns();

private:
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<TestConnection> m_data;
};

void TestDriverList::initTestCase()
{
    m_db = std::make_unique<TempDatabase>();
    m_data = std::make_unique<TestConnection>();
    ConnectUpgraded(*m_data, m_db->path());
    // Name, VOZAC, AKTIVNOALL.
    m_data->script.execute(
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (1, 'Anić Ana', 1, 1);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (2, 'Babić Bruno', 1, 0);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (3, 'Car Cvita', 0, 1);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (4, 'Dorić Dino', 0, 0);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (5, 'Đurić Ema', NULL, NULL);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, VOZAC, AKTIVNOALL) VALUES (6, 'Čulić Filip', 1, NULL);"
        "INSERT INTO VOZACI (IDNALOGA, VOZACID) VALUES (10, 1);"
        "INSERT INTO UTOVARIVACI (IDNALOGA, DJELATNIKID) VALUES (11, 3);"
        "INSERT INTO UTOVARIVACI (IDNALOGA, DJELATNIKID) VALUES (12, 3);");
    m_data->write.commit();
}

void TestDriverList::filters_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<bool>("onlyActive");
    QTest::addColumn<QList<int>>("ids");  // in alphabetical order: Č after C, Đ after D
    QTest::newRow("Samo vozači") << 0 << false << QList<int>{1, 2, 6};
    QTest::newRow("Svi djelatnici") << 1 << false << QList<int>{1, 2, 3, 6, 4, 5};
    QTest::newRow("Svi osim vozača") << 2 << false << QList<int>{3, 4, 5};
    QTest::newRow("Svi aktivni djelatnici") << 3 << false << QList<int>{1, 3, 6, 5};
    QTest::newRow("Svi aktivni vozači") << 4 << false << QList<int>{1, 6};
    QTest::newRow("Samo vozači, samo aktivni") << 0 << true << QList<int>{1, 6};
    QTest::newRow("Svi djelatnici, samo aktivni") << 1 << true << QList<int>{1, 3, 6, 5};
    QTest::newRow("Svi osim vozača, samo aktivni") << 2 << true << QList<int>{3, 5};
    QTest::newRow("Svi aktivni vozači, samo aktivni") << 4 << true << QList<int>{1, 6};
}

void TestDriverList::filters()
{
    QFETCH(int, filter);
    QFETCH(bool, onlyActive);
    QList<int> ids;
    for (const DriverListRow& row : ReadDriverList(m_data->read, filter, onlyActive))
        ids << row.id;
    QTEST(ids, "ids");
}

void TestDriverList::ordersAreCounted()
{
    QCOMPARE(CountOrders(m_data->write, 1), 1);
    QCOMPARE(CountOrders(m_data->write, 3), 2);
    QCOMPARE(CountOrders(m_data->write, 5), 0);
    m_data->write.commit();
    QCOMPARE(CategoryLetter(0), QString());
    QCOMPARE(CategoryLetter(3), QStringLiteral("C"));
    QCOMPARE(CategoryLetter(8), QStringLiteral("H"));
    QCOMPARE(CategoryLetter(9), QString());
}

void TestDriverList::rosterPagesAndColumns()
{
    RosterData data;
    data.header = QStringLiteral("Prijevoznik d.o.o., Zagreb");
    data.day = QDate(2025, 3, 14);
    data.printedAt = QDateTime(QDate(2025, 3, 14), QTime(9, 5));
    for (int i = 1; i <= 40; ++i) {
        DriverListRow row;
        row.id = i;
        row.name = QStringLiteral("Vozač %1").arg(i, 2, 10, QLatin1Char('0'));
        row.registrationNumber = i == 1 ? 0 : 100 + i;
        row.jobTitle = QStringLiteral("vozač");
        row.idCard = QStringLiteral("OI%1").arg(i);
        row.category = 3;
        row.categoryText = QStringLiteral("C+E");
        row.address = QStringLiteral("Ulica %1, Zagreb").arg(i);
        row.title = QStringLiteral("KV vozač");
        data.employees.push_back(row);
    }
    const RosterPrintout roster(data);
    QCOMPARE(roster.pageCount(), 2);
    QCOMPARE(roster.pages()[0].size(), size_t(28));
    QCOMPARE(roster.pages()[1].size(), size_t(12));

    QTemporaryDir folder;
    const QString path = folder.filePath("popis.pdf");
    QVERIFY(WritePdf(roster, path, nullptr));
    const QStringList pages = PdfPageTexts(path);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[0].contains("Prijevoznik d.o.o., Zagreb"));
    QVERIFY(pages[0].contains("Popis djelatnika"));
    QVERIFY(pages[0].contains("na dan 14.03.2025"));
    QVERIFY(!pages[1].contains("Popis djelatnika"));
    for (const QString& page : pages) {
        // The column header on every page, its columns in order, and the footer.
        const QStringList headers{"Ime i prezime/adresa", "MBR", "Radno mjesto/zvanje", "Osobna isk.", "Tip"};
        qsizetype at = -1;
        for (const QString& header : headers) {
            const qsizetype found = page.indexOf(header, at + 1);
            QVERIFY2(found > at, qPrintable(header));
            at = found;
        }
        QVERIFY(page.contains("Datum i vrijeme ispisa: 14.03.2025 09:05"));
    }
    QVERIFY(pages[0].contains("Str. 1 od 2"));
    QVERIFY(pages[1].contains("Str. 2 od 2"));
    // A line's columns in order: name, MBR, job title, identity card, category letter, category text.
    const QString line = pages[0].split('\n').filter("Vozač 02").first().simplified();
    QCOMPARE(line, QStringLiteral("Vozač 02 102 vozač OI2 C C+E"));
    QVERIFY(pages[0].contains("Ulica 2, Zagreb"));
    QVERIFY(pages[0].split('\n').filter("Vozač 01").first().simplified().startsWith("Vozač 01 0 vozač"));
    QVERIFY(pages[0].contains("Vozač 28") && !pages[0].contains("Vozač 29"));
    QVERIFY(pages[1].contains("Vozač 29") && pages[1].contains("Vozač 40"));
}

QTEST_MAIN(TestDriverList)
#include "tst_driver_list.moc"
