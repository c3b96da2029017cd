#include "window_driving.h"

#include "masterdata/ui/vehicle_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class TestVehicleWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void newVehicleDefaultsAndStoredFields();
    void numberFieldsFallBack_data();
    void numberFieldsFallBack();
    void massIsStoredExactlyAndShownGrouped();
    void missingMakeOrPlateIsRefused_data();
    void missingMakeOrPlateIsRefused();
    void untouchedVehicleWritesNothing();
    void changedFieldIsStored_data();
    void changedFieldIsStored();
    void emptyActiveFlagOpensTicked();
    void vanishedVehicleClosesWithCancel();
    void refusedInsertKeepsWindowAndTypedValues();
    void massBeyondColumnRangeIsReportedOnUpdate();

private:
    void openForm(int id);
    QLineEdit* field(const char* name) { return Child<QLineEdit>(*m_form, name); }
    QPushButton* storeButton() { return Child<QPushButton>(*m_form, "BitBtn1"); }
    qint64 number(const QString& sql) { return QueryNumber(m_db->data(), sql); }
    void fillNew(const QString& make, const QString& plate);
    int insertVehicle(const QString& columns, const QString& values);

    std::unique_ptr<ConnectedDatabase> m_db;
    std::unique_ptr<VehicleWindow> m_form;
};

void TestVehicleWindow::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
    // An update of any kind marks the row, so a test can tell whether one was run.
    m_db->run(QStringLiteral("CREATE TRIGGER T_VOZILO_BU FOR VOZILO ACTIVE BEFORE UPDATE POSITION 0 "
                             "AS BEGIN NEW.DRZAVA = 99; END"));
}

void TestVehicleWindow::init()
{
    m_db->run(QStringLiteral("DELETE FROM VOZILO"));
    m_form = std::make_unique<VehicleWindow>(m_db->session());
}

void TestVehicleWindow::cleanup()
{
    m_form.reset();
}

void TestVehicleWindow::openForm(int id)
{
    m_form->recordId = id;
    QVERIFY(ShowActive(*m_form));
}

void TestVehicleWindow::fillNew(const QString& make, const QString& plate)
{
    openForm(-1);
    ReplaceAndLeave(field("Tip"), make);
    ReplaceAndLeave(field("Oznaka"), plate);
}

int TestVehicleWindow::insertVehicle(const QString& columns, const QString& values)
{
    const int id = static_cast<int>(number(QStringLiteral("SELECT GEN_ID(GEN_VOZILO_ID,1) FROM RDB$DATABASE")));
    m_db->run(QStringLiteral("INSERT INTO VOZILO (IDVOZ,MARKAITIP,OZNAKA,%1) VALUES (%2,'MAN TGX','ZG-100-AB',%3)")
                  .arg(columns)
                  .arg(id)
                  .arg(values));
    return id;
}

void TestVehicleWindow::newVehicleDefaultsAndStoredFields()
{
    openForm(-1);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Podaci o vozilu"));
    QCOMPARE(storeButton()->text(), QStringLiteral("Dodaj"));
    QCOMPARE(Child<QComboBox>(*m_form, "Vrsta")->currentText(), QStringLiteral("Kamion"));
    QVERIFY(Child<QCheckBox>(*m_form, "CheckBox1")->isChecked());
    QCOMPARE(field("BrojSjedala")->text(), QStringLiteral("2"));
    QCOMPARE(field("GodPro")->text(), QString::number(QDate::currentDate().year()));
    QCOMPARE(field("GodPrveReg")->text(), QString::number(QDate::currentDate().year()));

    ReplaceAndLeave(field("Tip"), QStringLiteral("Iveco Daily"));
    ReplaceAndLeave(field("Oznaka"), QStringLiteral("RI-22-Š"));
    ReplaceAndLeave(field("GarazniBroj"), QStringLiteral("G7"));
    ReplaceAndLeave(field("BrojSasije"), QStringLiteral("WJME2NP"));
    ReplaceAndLeave(field("GodPro"), QStringLiteral("2015"));
    auto* kind = Child<QComboBox>(*m_form, "Vrsta");
    kind->setFocus();
    QTest::keyClick(kind, Qt::Key_Down);
    QTest::keyClick(kind, Qt::Key_Down);
    QCOMPARE(kind->currentText(), QStringLiteral("Osobno vozilo"));
    ClickBox(Child<QCheckBox>(*m_form, "CheckBox1"));
    auto* remark = Child<QPlainTextEdit>(*m_form, "Napomena");
    remark->setFocus();
    TypeText(remark, QStringLiteral("službeno"));
    QTest::mouseClick(storeButton(), Qt::LeftButton);

    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    const QString where = QStringLiteral(" FROM VOZILO WHERE IDVOZ=%1").arg(m_form->storedId());
    QCOMPARE(number(QStringLiteral("SELECT VRSTA") + where), 2);
    QCOMPARE(number(QStringLiteral("SELECT AKTIVNOALL") + where), 0);
    QCOMPARE(number(QStringLiteral("SELECT GODPRO") + where), 2015);
    QCOMPARE(number(QStringLiteral("SELECT BRSJED") + where), 2);
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*)") + where +
                    QStringLiteral(" AND MARKAITIP='Iveco Daily' AND OZNAKA='RI-22-Š' AND GARBR='G7'"
                                   " AND BRSASIJE='WJME2NP' AND MASA=0")),
             1);

    openForm(m_form->storedId());
    QCOMPARE(storeButton()->text(), QStringLiteral("Promijeni"));
    QCOMPARE(Child<QPlainTextEdit>(*m_form, "Napomena")->toPlainText(), QStringLiteral("službeno"));
    QCOMPARE(field("masa")->text(), QString());
    QVERIFY(!Child<QCheckBox>(*m_form, "CheckBox1")->isChecked());
    QVERIFY(!m_db->data().write.isActive());
}

void TestVehicleWindow::numberFieldsFallBack_data()
{
    QTest::addColumn<QByteArray>("fieldName");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("seats in words") << QByteArray("BrojSjedala") << "BRSJED" << "dva" << 2;
    QTest::newRow("seats") << QByteArray("BrojSjedala") << "BRSJED" << "45" << 45;
    QTest::newRow("empty year made") << QByteArray("GodPro") << "GODPRO" << "" << 2007;
    QTest::newRow("year registered with a letter") << QByteArray("GodPrveReg") << "GODPREG" << "2O19" << 2007;
}

void TestVehicleWindow::numberFieldsFallBack()
{
    QFETCH(QByteArray, fieldName);
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    fillNew(QStringLiteral("Mercedes"), QStringLiteral("ST-1"));
    ReplaceAndLeave(field(fieldName.constData()), typed);
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QCOMPARE(number(QStringLiteral("SELECT %1 FROM VOZILO WHERE IDVOZ=%2").arg(column).arg(m_form->storedId())), stored);
}

void TestVehicleWindow::massIsStoredExactlyAndShownGrouped()
{
    fillNew(QStringLiteral("Scania"), QStringLiteral("OS-5"));
    ReplaceAndLeave(field("masa"), QStringLiteral("1.234,5"));
    ReplaceAndLeave(field("Nosivost"), QStringLiteral("7,1"));
    ReplaceAndLeave(field("Ukupno"), QStringLiteral("abc"));
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    const QString where = QStringLiteral(" FROM VOZILO WHERE IDVOZ=%1").arg(m_form->storedId());
    QCOMPARE(number(QStringLiteral("SELECT CAST(MASA*1000 AS INTEGER)") + where), 1234500);
    QCOMPARE(number(QStringLiteral("SELECT CAST(NOSIVOST*1000 AS INTEGER)") + where), 7100);
    QCOMPARE(number(QStringLiteral("SELECT CAST(UKUPNAMASA*1000 AS INTEGER)") + where), 0);

    openForm(m_form->storedId());
    QCOMPARE(field("masa")->text(), QStringLiteral("1.234,50"));
    QCOMPARE(field("Nosivost")->text(), QStringLiteral("7,10"));
    QCOMPARE(field("Ukupno")->text(), QString());
    // The whole of the largest mass fits in each field.
    for (const char* name : {"masa", "Nosivost", "Ukupno"}) {
        QLineEdit* mass = field(name);
        QVERIFY2(mass->fontMetrics().horizontalAdvance(QStringLiteral("9.999,999")) < mass->contentsRect().width() - 4,
                 name);
    }
}

void TestVehicleWindow::missingMakeOrPlateIsRefused_data()
{
    QTest::addColumn<QString>("make");
    QTest::addColumn<QString>("plate");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("focused");
    QTest::newRow("no make") << "  " << "ZG-1" << "Niste unijeli marku i tip vozila!" << QByteArray("Tip");
    QTest::newRow("no plate") << "DAF" << " " << "Niste unijeli oznaku vozila!" << QByteArray("Oznaka");
}

void TestVehicleWindow::missingMakeOrPlateIsRefused()
{
    QFETCH(QString, make);
    QFETCH(QString, plate);
    QFETCH(QString, message);
    QFETCH(QByteArray, focused);
    fillNew(make, plate);
    MessageAnswerer answerer;
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(answerer.texts, QStringList{message});
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->focusWidget(), field(focused.constData()));
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM VOZILO")), 0);
}

void TestVehicleWindow::untouchedVehicleWritesNothing()
{
    const int id = insertVehicle(QStringLiteral("MASA,NAPOMENA"), QStringLiteral("7.5,'stara napomena'"));
    openForm(id);
    QCOMPARE(field("masa")->text(), QStringLiteral("7,50"));
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QCOMPARE(m_form->storedId(), id);
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM VOZILO WHERE DRZAVA IS NULL")), 1);
}

void TestVehicleWindow::changedFieldIsStored_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("check");
    QTest::newRow("plate typed") << "plate" << "OZNAKA='ZG-100-ABC'";
    QTest::newRow("kind chosen") << "kind" << "VRSTA=1";
    QTest::newRow("note edited") << "note" << "NAPOMENA IS NOT NULL";
    QTest::newRow("active clicked") << "active" << "AKTIVNOALL=0";
}

void TestVehicleWindow::changedFieldIsStored()
{
    QFETCH(QString, change);
    QFETCH(QString, check);
    const int id = insertVehicle(QStringLiteral("AKTIVNOALL"), QStringLiteral("1"));
    openForm(id);
    if (change == QLatin1String("plate")) {
        auto* plate = field("Oznaka");
        plate->setFocus();
        QTest::keyClick(plate, Qt::Key_End);
        TypeText(plate, QStringLiteral("C"));
    } else if (change == QLatin1String("kind")) {
        auto* kind = Child<QComboBox>(*m_form, "Vrsta");
        kind->setFocus();
        QTest::keyClick(kind, Qt::Key_Down);
    } else if (change == QLatin1String("note")) {
        auto* remark = Child<QPlainTextEdit>(*m_form, "Napomena");
        remark->setFocus();
        TypeText(remark, QStringLiteral("x"));
    } else {
        ClickBox(Child<QCheckBox>(*m_form, "CheckBox1"));
    }
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM VOZILO WHERE DRZAVA=99 AND %1").arg(check)), 1);
}

void TestVehicleWindow::emptyActiveFlagOpensTicked()
{
    const int id = insertVehicle(QStringLiteral("AKTIVNOALL,BRSJED"), QStringLiteral("NULL,NULL"));
    openForm(id);
    QVERIFY(Child<QCheckBox>(*m_form, "CheckBox1")->isChecked());
    QCOMPARE(field("BrojSjedala")->text(), QStringLiteral("0"));
}

void TestVehicleWindow::vanishedVehicleClosesWithCancel()
{
    m_form->recordId = 999;
    MessageAnswerer answerer;
    QCOMPARE(m_form->exec(), int(QDialog::Rejected));
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Pogreška prilikom pristupa podacima!")});
    QVERIFY(!m_db->data().write.isActive());
}

void TestVehicleWindow::refusedInsertKeepsWindowAndTypedValues()
{
    m_db->refuseWrites(QStringLiteral("VOZILO"), QStringLiteral("INSERT"));
    fillNew(QStringLiteral("Volvo FH"), QStringLiteral("KA-7"));
    ReplaceAndLeave(field("masa"), QStringLiteral("8,5"));
    MessageAnswerer answerer;
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    m_db->allowWrites(QStringLiteral("VOZILO"), QStringLiteral("INSERT"));

    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts.first().contains(QStringLiteral("Upis odbijen")), qPrintable(answerer.texts.first()));
    QVERIFY(m_form->isVisible());
    QCOMPARE(field("Tip")->text(), QStringLiteral("Volvo FH"));
    QCOMPARE(field("masa")->text(), QStringLiteral("8,5"));
    QVERIFY(!m_db->data().write.isActive());
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM VOZILO")), 0);
}

void TestVehicleWindow::massBeyondColumnRangeIsReportedOnUpdate()
{
    const int id = insertVehicle(QStringLiteral("MASA"), QStringLiteral("3"));
    openForm(id);
    ReplaceAndLeave(field("masa"), QStringLiteral("3000000"));
    MessageAnswerer answerer;
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(m_form->isVisible());
    QVERIFY(!m_db->data().write.isActive());
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM VOZILO WHERE MASA=3 AND DRZAVA IS NULL")), 1);
}

QTEST_MAIN(TestVehicleWindow)
#include "tst_vehicle_window.moc"
