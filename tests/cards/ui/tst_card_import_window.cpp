#include "card_file_writer.h"
#include "window_driving.h"

#include "cards/ui/card_import_window.h"
#include "entries/chart_entry.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int H = 60;

TestCard WinterCard(const QString& cardNumber)
{
    TestCard card;
    card.cardNumber = cardNumber;
    card.days = {{QDate(2025, 1, 14), 0, {{0, kCardRest}}},
                 {QDate(2025, 1, 15), 200, {{0, kCardRest}, {5 * H, kCardDriving}, {9 * H, kCardRest}}},
                 {QDate(2025, 1, 16), 0, {{0, kCardRest}}}};
    card.vehicles = {{QStringLiteral("ZG1234AB"), 0x19, 1000, 1200, Utc(2025, 1, 15, 5), Utc(2025, 1, 15, 9)}};
    return card;
}

} // namespace

class TestCardImportWindow : public QObject {
    Q_OBJECT

private slots:
    void importsAfterTheClerkAgreesToRecordTheDriver();
    void conflictIsShownBesideTheCardDayAndReplacedWhenTicked();
};

void TestCardImportWindow::importsAfterTheClerkAgreesToRecordTheDriver()
{
    ConnectedDatabase db;
    QTemporaryDir folder;
    const QString good = folder.filePath(QStringLiteral("horvat.ddd"));
    const QString bad = folder.filePath(QStringLiteral("losa.ddd"));
    QVERIFY(WriteBytes(good, WriteTestCard(WinterCard(QStringLiteral("H100000012345601"))).bytes));
    QVERIFY(WriteBytes(bad, WriteTestCard(WinterCard(QStringLiteral("H100000012345601"))).bytes.left(700)));

    CardImportWindow window(db.session());
    QVERIFY(ShowActive(window));
    window.addFiles({good, bad});
    auto* files = window.findChild<QListWidget*>(QStringLiteral("FileList"));
    QCOMPARE(files->count(), 2);
    QCOMPARE(files->item(0)->text(), QStringLiteral("horvat.ddd - Horvat Ivan"));
    QCOMPARE(files->item(1)->text(), QStringLiteral("losa.ddd - neispravna"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("RecordsLabel"))->text(),
             QStringLiteral("Vozač nije u evidenciji: HORVAT Ivan. Vozila nisu u evidenciji: ZG1234AB."));
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("SignatureLabel"))->text().startsWith(QStringLiteral("Potpis: potpis nije provjeren")));
    auto* days = window.findChild<QTableWidget*>(QStringLiteral("DaysTable"));
    QCOMPARE(days->rowCount(), 2);
    QCOMPARE(days->item(0, 0)->text(), QStringLiteral("15.01.2025"));
    QCOMPARE(days->item(0, 3)->text(), QStringLiteral("novi"));

    auto* import = window.findChild<QPushButton*>(QStringLiteral("ImportButton"));
    auto* summary = window.findChild<QPlainTextEdit*>(QStringLiteral("SummaryText"));
    QTest::mouseClick(import, Qt::LeftButton);
    QVERIFY2(summary->toPlainText().contains(QStringLiteral("ništa nije uvezeno: Vozač s karticom H100000012345601")),
             qPrintable(summary->toPlainText()));
    QVERIFY(summary->toPlainText().contains(QStringLiteral("losa.ddd: ")));
    QCOMPARE(QueryNumber(db.data(), QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 0);

    auto* create = window.findChild<QCheckBox*>(QStringLiteral("CreateMissingBox"));
    QVERIFY(create->isVisible());
    ClickBox(create);
    QTest::mouseClick(import, Qt::LeftButton);
    QVERIFY2(summary->toPlainText().contains(QStringLiteral("2 dana: uvezeno 2, novi vozač, novih vozila 1")),
             qPrintable(summary->toPlainText()));
    files->setCurrentRow(0);
    QCOMPARE(days->item(0, 3)->text(), QStringLiteral("već uvezen"));
    QVERIFY(!create->isVisible());
}

void TestCardImportWindow::conflictIsShownBesideTheCardDayAndReplacedWhenTicked()
{
    ConnectedDatabase db;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("horvat.ddd"));
    QVERIFY(WriteBytes(path, WriteTestCard(WinterCard(QStringLiteral("H100000012345601"))).bytes));
    db.run(QStringLiteral("INSERT INTO DJELATNICI (IDDJ,IMEPREZIME,VOZAC,KARTICA) VALUES (5,'Horvat Ivan',1,'H1000000123456')"));
    db.run(QStringLiteral("INSERT INTO VOZILO (IDVOZ,MARKAITIP,OZNAKA) VALUES (9,'MAN','ZG-1234-AB')"));
    ChartEntry disc;
    disc.driverId = 5;
    disc.vehicleId = 9;
    disc.date = QDate(2025, 1, 15);
    disc.day1 = std::vector<ActivityInterval>{{ActivityKind::OtherWork, 8 * H, 12 * H, {}, {}}};
    QVERIFY(StoreChartEntry(db.data().write, disc).done);

    CardImportWindow window(db.session());
    QVERIFY(ShowActive(window));
    window.addFiles({path});
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("RecordsLabel"))->text(), QStringLiteral("Vozač u evidenciji: Horvat Ivan."));
    auto* days = window.findChild<QTableWidget*>(QStringLiteral("DaysTable"));
    QCOMPARE(days->item(0, 1)->text(), QStringLiteral("odmor 20:00, spremnost 00:00, rad 00:00, vožnja 04:00, 200 km"));
    QCOMPARE(days->item(0, 2)->text(), QStringLiteral("Skenirani listić: odmor 00:00, spremnost 00:00, rad 04:00, vožnja 00:00, 0,00 km"));
    QCOMPARE(days->item(0, 3)->text(), QStringLiteral("sukob - zamijeni?"));
    QCOMPARE(days->item(0, 3)->checkState(), Qt::Unchecked);

    days->setFocus();
    days->setCurrentCell(0, 3);
    QTest::keyClick(days, Qt::Key_Space);
    QCOMPARE(days->item(0, 3)->checkState(), Qt::Checked);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("ImportButton")), Qt::LeftButton);
    QVERIFY2(window.findChild<QPlainTextEdit*>(QStringLiteral("SummaryText"))->toPlainText().contains(QStringLiteral("uvezeno 1, zamijenjeno 1")),
             qPrintable(window.findChild<QPlainTextEdit*>(QStringLiteral("SummaryText"))->toPlainText()));
    QCOMPARE(days->item(0, 3)->text(), QStringLiteral("već uvezen"));
    QCOMPARE(days->item(0, 2)->text().left(18), QStringLiteral("Digitalna kartica:"));
}

QTEST_MAIN(TestCardImportWindow)
#include "tst_card_import_window.moc"
