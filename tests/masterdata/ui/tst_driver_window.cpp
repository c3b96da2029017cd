#include "window_driving.h"
#include "ui/date_field.h"
#include "db/server_messages.h"

#include "masterdata/ui/driver_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class TestDriverWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void newDriverIsStoredWithEveryField();
    void typedBirthDateIsStored_data();
    void typedBirthDateIsStored();
    void registrationNumberIsCleanedOnLeaving_data();
    void registrationNumberIsCleanedOnLeaving();
    void driverJobTitleTicksDriver_data();
    void driverJobTitleTicksDriver();
    void blankNameIsRefused();
    void nameKeepsItsLeadingBlanks();
    void emptyActiveFlagAndDateOpenAsStoredDefaults();
    void newAfterExistingShowsEmptyFields();
    void vanishedDriverClosesWithCancel();
    void escapeStoresNothing();
    void refusedInsertKeepsWindowAndTypedValues();
    void refusedUpdateIsRolledBack();
    void lockConflictOffersToTryAgain_data();
    void lockConflictOffersToTryAgain();
    void textOutsideWin1250IsRefusedAndKept();

private:
    void openForm(int id);
    QLineEdit* field(const char* name) { return Child<QLineEdit>(*m_form, name); }
    QPushButton* storeButton() { return Child<QPushButton>(*m_form, "BitBtn1"); }
    qint64 number(const QString& sql) { return QueryNumber(m_db->data(), sql); }
    int insertDriver(const QString& values);

    std::unique_ptr<ConnectedDatabase> m_db;
    std::unique_ptr<DriverWindow> m_form;
};

void TestDriverWindow::initTestCase()
{
    m_db = std::make_unique<ConnectedDatabase>();
}

void TestDriverWindow::init()
{
    m_db->run(QStringLiteral("DELETE FROM DJELATNICI"));
    m_form = std::make_unique<DriverWindow>(m_db->session());
}

void TestDriverWindow::cleanup()
{
    m_form.reset();
}

void TestDriverWindow::openForm(int id)
{
    m_form->recordId = id;
    QVERIFY(ShowActive(*m_form));
}

int TestDriverWindow::insertDriver(const QString& columnsAndValues)
{
    const int id = static_cast<int>(number(QStringLiteral("SELECT GEN_ID(GEN_DJELATNICI_ID,1) FROM RDB$DATABASE")));
    m_db->run(QStringLiteral("INSERT INTO DJELATNICI (IDDJ, %1").arg(columnsAndValues.arg(id)));
    return id;
}

void TestDriverWindow::newDriverIsStoredWithEveryField()
{
    openForm(-1);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Podaci o vozaču"));
    QCOMPARE(storeButton()->text(), QStringLiteral("Dodaj"));
    QVERIFY(Child<QCheckBox>(*m_form, "Vozac")->isChecked());
    QVERIFY(Child<QCheckBox>(*m_form, "Aktiv")->isChecked());
    QCOMPARE(Child<DateField>(*m_form, "DRodenja")->date(), QDate::currentDate());

    ReplaceAndLeave(field("Ime"), QStringLiteral("Horvat Ivan"));
    ReplaceAndLeave(field("MaticniBroj"), QStringLiteral("77"));
    ReplaceAndLeave(field("Zvanje"), QStringLiteral("KV vozač"));
    ReplaceAndLeave(field("Kartica"), QStringLiteral("HR123"));
    ReplaceAndLeave(field("OIB"), QStringLiteral("12345678901"));
    ReplaceAndLeave(field("Putovnica"), QStringLiteral("P-1"));
    Child<QComboBox>(*m_form, "Zap")->setCurrentIndex(1);
    Child<QComboBox>(*m_form, "Tip")->setCurrentIndex(3);
    Child<DateField>(*m_form, "DRodenja")->setDate(QDate(1970, 5, 6));
    ClickBox(Child<QCheckBox>(*m_form, "Vozac"));
    auto* remark = Child<QPlainTextEdit>(*m_form, "Napomena");
    remark->setFocus();
    TypeText(remark, QStringLiteral("šofer"));

    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QVERIFY(!m_form->isVisible());
    const QString where = QStringLiteral(" FROM DJELATNICI WHERE IDDJ=%1").arg(m_form->storedId());
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 1);
    QCOMPARE(number(QStringLiteral("SELECT MBR") + where), 77);
    QCOMPARE(number(QStringLiteral("SELECT VOZAC") + where), 0);
    QCOMPARE(number(QStringLiteral("SELECT AKTIVNOALL") + where), 1);
    QCOMPARE(number(QStringLiteral("SELECT ZAP") + where), 1);
    QCOMPARE(number(QStringLiteral("SELECT TIP") + where), 3);
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*)") + where +
                    QStringLiteral(" AND IMEPREZIME='Horvat Ivan' AND KARTICA='HR123' AND OIB='12345678901'"
                                   " AND PUTOVNICA='P-1' AND DATROD='1970-05-06'")),
             1);

    // Read back through the window, Croatian letters included.
    openForm(m_form->storedId());
    QCOMPARE(storeButton()->text(), QStringLiteral("Promijeni"));
    QCOMPARE(field("Zvanje")->text(), QStringLiteral("KV vozač"));
    QCOMPARE(Child<QPlainTextEdit>(*m_form, "Napomena")->toPlainText(), QStringLiteral("šofer"));
    QCOMPARE(Child<QComboBox>(*m_form, "Tip")->currentText(), QStringLiteral("C"));
    QVERIFY(!Child<QCheckBox>(*m_form, "Vozac")->isChecked());
    QVERIFY(!m_db->data().write.isActive());
}

void TestDriverWindow::registrationNumberIsCleanedOnLeaving_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored");
    QTest::newRow("leading zeros") << "00123" << "123" << 123;
    QTest::newRow("not a number") << "12a" << "" << 0;
    QTest::newRow("zero") << "0" << "" << 0;
    QTest::newRow("blanks around") << " 42 " << "42" << 42;
    QTest::newRow("beyond 32 bits") << "99999999999" << "" << 0;
}

void TestDriverWindow::registrationNumberIsCleanedOnLeaving()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    openForm(-1);
    ReplaceAndLeave(field("Ime"), QStringLiteral("Ana"));
    ReplaceAndLeave(field("MaticniBroj"), typed);
    QCOMPARE(field("MaticniBroj")->text(), shown);
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QCOMPARE(number(QStringLiteral("SELECT MBR FROM DJELATNICI WHERE IDDJ=%1").arg(m_form->storedId())), stored);
}

void TestDriverWindow::driverJobTitleTicksDriver_data()
{
    QTest::addColumn<QString>("jobTitle");
    QTest::addColumn<bool>("tickedBefore");
    QTest::addColumn<bool>("tickedAfter");
    QTest::newRow("female form with blanks") << " vozačica " << false << true;
    QTest::newRow("capitals") << "VOZAČ" << false << true;
    QTest::newRow("without diacritics") << "Vozacica" << false << true;
    QTest::newRow("longer title") << "Vozač kamiona" << false << false;
    QTest::newRow("other title keeps tick") << "skladištar" << true << true;
}

void TestDriverWindow::driverJobTitleTicksDriver()
{
    QFETCH(QString, jobTitle);
    QFETCH(bool, tickedBefore);
    QFETCH(bool, tickedAfter);
    openForm(-1);
    auto* driver = Child<QCheckBox>(*m_form, "Vozac");
    if (!tickedBefore)
        ClickBox(driver);
    QCOMPARE(driver->isChecked(), tickedBefore);
    ReplaceAndLeave(field("RadnoMjesto"), jobTitle);
    QCOMPARE(driver->isChecked(), tickedAfter);
}

void TestDriverWindow::blankNameIsRefused()
{
    openForm(-1);
    ReplaceAndLeave(field("Ime"), QStringLiteral("   "));
    MessageAnswerer answerer;
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Niste unijeli ime i prezime djelatnika!")});
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->focusWidget(), field("Ime"));
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 0);
}

void TestDriverWindow::nameKeepsItsLeadingBlanks()
{
    openForm(-1);
    ReplaceAndLeave(field("Ime"), QStringLiteral("  Kovač Ana"));
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI WHERE IMEPREZIME='  Kovač Ana'")), 1);
}

void TestDriverWindow::emptyActiveFlagAndDateOpenAsStoredDefaults()
{
    const int id = insertDriver(QStringLiteral("IMEPREZIME, AKTIVNOALL, DATROD, MBR) VALUES (%1, 'Bez datuma', NULL, NULL, 0)"));
    openForm(id);
    QVERIFY(Child<QCheckBox>(*m_form, "Aktiv")->isChecked());
    QCOMPARE(Child<DateField>(*m_form, "DRodenja")->date(), QDate(1899, 12, 30));
    QCOMPARE(field("MaticniBroj")->text(), QStringLiteral("0"));
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QCOMPARE(number(QStringLiteral("SELECT AKTIVNOALL FROM DJELATNICI WHERE IDDJ=%1").arg(id)), 1);
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI WHERE DATROD='1899-12-30'")), 1);
}

void TestDriverWindow::newAfterExistingShowsEmptyFields()
{
    const int id = insertDriver(QStringLiteral("IMEPREZIME, KARTICA, OIB, ZAP, VOZAC) VALUES (%1, 'Kartičar', 'HR99', '111', 1, 0)"));
    openForm(id);
    QCOMPARE(field("Kartica")->text(), QStringLiteral("HR99"));
    m_form->reject();

    openForm(-1);
    for (const char* name : {"Ime", "Zvanje", "RadnoMjesto", "Adresa", "Kontakt", "Osobna", "MaticniBroj", "TipStr",
                             "Vozacka", "Putovnica", "OIB", "Kartica"})
        QVERIFY2(field(name)->text().isEmpty(), name);
    QVERIFY(Child<QPlainTextEdit>(*m_form, "Napomena")->toPlainText().isEmpty());
    QVERIFY(Child<QCheckBox>(*m_form, "Vozac")->isChecked());
    QCOMPARE(Child<QComboBox>(*m_form, "Tip")->currentIndex(), 0);
    // The employment choice stays what it showed last.
    QCOMPARE(Child<QComboBox>(*m_form, "Zap")->currentIndex(), 1);
}

void TestDriverWindow::vanishedDriverClosesWithCancel()
{
    m_form->recordId = 4711;
    MessageAnswerer answerer;
    QCOMPARE(m_form->exec(), int(QDialog::Rejected));
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Pogreška prilikom pristupa podacima!")});
    QVERIFY(!m_db->data().write.isActive());
}

void TestDriverWindow::escapeStoresNothing()
{
    openForm(-1);
    ReplaceAndLeave(field("Ime"), QStringLiteral("Neće biti"));
    QTest::keyClick(field("Adresa"), Qt::Key_Escape);
    QCOMPARE(m_form->result(), int(QDialog::Rejected));
    QVERIFY(!m_form->isVisible());
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 0);
}

void TestDriverWindow::refusedInsertKeepsWindowAndTypedValues()
{
    m_db->refuseWrites(QStringLiteral("DJELATNICI"), QStringLiteral("INSERT"));
    openForm(-1);
    ReplaceAndLeave(field("Ime"), QStringLiteral("Odbijeni Petar"));
    ReplaceAndLeave(field("Kontakt"), QStringLiteral("091 111"));
    MessageAnswerer answerer;
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    m_db->allowWrites(QStringLiteral("DJELATNICI"), QStringLiteral("INSERT"));

    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts.first().contains(QStringLiteral("Upis odbijen")), qPrintable(answerer.texts.first()));
    QVERIFY(m_form->isVisible());
    QCOMPARE(field("Ime")->text(), QStringLiteral("Odbijeni Petar"));
    QCOMPARE(field("Kontakt")->text(), QStringLiteral("091 111"));
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 0);

    // Once the database accepts it, the same press stores the employee.
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI WHERE KONTAKT='091 111'")), 1);
}

void TestDriverWindow::refusedUpdateIsRolledBack()
{
    const int id = insertDriver(QStringLiteral("IMEPREZIME) VALUES (%1, 'Staro ime')"));
    m_db->refuseWrites(QStringLiteral("DJELATNICI"), QStringLiteral("UPDATE"));
    openForm(id);
    ReplaceAndLeave(field("Ime"), QStringLiteral("Novo ime"));
    MessageAnswerer answerer;
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts.first().contains(QStringLiteral("Upis odbijen")));
    QVERIFY(m_form->isVisible());
    QVERIFY(!m_db->data().write.isActive());
    m_db->allowWrites(QStringLiteral("DJELATNICI"), QStringLiteral("UPDATE"));
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI WHERE IMEPREZIME='Staro ime'")), 1);
}

void TestDriverWindow::lockConflictOffersToTryAgain_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("otherCommits");
    QTest::newRow("tried again after the other user's change is committed") << QStringLiteral("Pokušaj ponovo") << true;
    QTest::newRow("tried again after the other user's change is rolled back") << QStringLiteral("Pokušaj ponovo") << false;
    QTest::newRow("given up") << QStringLiteral("Odustani") << true;
}

// Another user's uncommitted change holds the employee's row: the store says so and offers to
// try again; trying again once the other transaction is over stores the whole record, giving up
// leaves the window with what was typed.
void TestDriverWindow::lockConflictOffersToTryAgain()
{
    QFETCH(QString, answer);
    QFETCH(bool, otherCommits);
    const int id = insertDriver(QStringLiteral("IMEPREZIME, KONTAKT) VALUES (%1, 'Staro ime', '01')"));
    TestConnection other;
    QCOMPARE(ConnectUpgraded(other, m_db->path()), QStringList());
    other.sql.prepare(QStringLiteral("UPDATE DJELATNICI SET KONTAKT='02' WHERE IDDJ=%1").arg(id));
    other.sql.execute();
    other.sql.close();

    openForm(id);
    ReplaceAndLeave(field("Ime"), QStringLiteral("Novo ime"));
    QStringList texts;
    QTimer answering;
    answering.setInterval(10);
    connect(&answering, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        texts << box->text();
        QStringList buttons;
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
        buttons.sort();
        QCOMPARE(buttons, QStringList({QStringLiteral("Odustani"), QStringLiteral("Pokušaj ponovo")}));
        if (otherCommits)
            other.write.commit();
        else
            other.write.rollback();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == answer)
                button->click();
        }
    });
    answering.start();
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    answering.stop();

    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts.first().startsWith(LockConflictMessage()), qPrintable(texts.first()));
    const QString where = QStringLiteral(" FROM DJELATNICI WHERE IDDJ=%1").arg(id);
    if (answer == QLatin1String("Odustani")) {
        QVERIFY(m_form->isVisible());
        QCOMPARE(field("Ime")->text(), QStringLiteral("Novo ime"));
        QCOMPARE(number(QStringLiteral("SELECT COUNT(*)") + where + QStringLiteral(" AND IMEPREZIME='Staro ime'")), 1);
        return;
    }
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    // The record as the window held it is stored whole, over the other user's change.
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*)") + where + QStringLiteral(" AND IMEPREZIME='Novo ime' AND KONTAKT='01'")), 1);
}

// Letters the database's code page lacks (Cyrillic, an emoji) are named in the message; the
// field keeps them and nothing is stored.
void TestDriverWindow::textOutsideWin1250IsRefusedAndKept()
{
    const QString name = QStringLiteral("Ђ Петвић 🚚");
    openForm(-1);
    ReplaceAndLeave(field("Ime"), name);
    QCOMPARE(field("Ime")->text(), name);
    MessageAnswerer answerer;
    QTest::mouseClick(storeButton(), Qt::LeftButton);

    QCOMPARE(answerer.texts.size(), 1);
    const QString& message = answerer.texts.first();
    for (const QString& character : {QStringLiteral("Ђ"), QStringLiteral("П"), QStringLiteral("в"), QStringLiteral("🚚")})
        QVERIFY2(message.contains(character), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("Windows-1250")), qPrintable(message));
    QVERIFY(m_form->isVisible());
    QCOMPARE(field("Ime")->text(), name);
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI")), 0);
}

void TestDriverWindow::typedBirthDateIsStored_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("stored");
    QTest::newRow("dots") << "15.03.1985" << QDate(1985, 3, 15);
    QTest::newRow("month without zero") << "15.3.1985" << QDate(1985, 3, 15);
    QTest::newRow("no zeros") << "1.3.1985" << QDate(1985, 3, 1);
    QTest::newRow("digits only") << "15031985" << QDate(1985, 3, 15);
    QTest::newRow("two-digit year") << "15.3.85" << QDate(1985, 3, 15);
    QTest::newRow("no date: the previous stays") << "15.3.19850" << QDate::currentDate();
}

void TestDriverWindow::typedBirthDateIsStored()
{
    QFETCH(QString, typed);
    QFETCH(QDate, stored);
    openForm(-1);
    ReplaceAndLeave(field("Ime"), QStringLiteral("Čulić Željko"));
    auto* birth = Child<DateField>(*m_form, "DRodenja");
    MessageAnswerer answerer;
    ReplaceAndLeave(birth, typed);
    const bool refused = stored == QDate::currentDate();
    QVERIFY(QTest::qWaitFor(
        [&] { return QApplication::focusWidget() == (refused ? birth : Child<QWidget>(*m_form, "DatZaposlen")); }));
    QCOMPARE(answerer.texts.size(), refused ? 1 : 0);
    QTest::mouseClick(storeButton(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM DJELATNICI WHERE IMEPREZIME='Čulić Željko' AND DATROD='%1'")
                        .arg(stored.toString(Qt::ISODate))),
             1);
}

QTEST_MAIN(TestDriverWindow)
#include "tst_driver_window.moc"
